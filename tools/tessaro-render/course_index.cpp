// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/course_index.h"

#include <cstdio>

namespace tessaro::render {
namespace {

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A relative address for a file name: every byte outside the unreserved set escaped.
std::string addressOf(const std::string& name) {
    std::string out;
    for (unsigned char c : name) {
        if (std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            out += escaped;
        }
    }
    return out;
}

std::string clock(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%06.3f", static_cast<long long>(ms / 60000),
                  static_cast<double>(ms % 60000) / 1000.0);
    return text;
}

std::string facts(const Timeline& t) {
    const std::size_t clips = t.narrations.size();
    return std::string(t.video ? "video" : "pictures") + " &middot; " + std::to_string(clips) +
           (clips == 1 ? " clip" : " clips") + " &middot; " + clock(t.endMs);
}

std::string clipList(const Timeline& t) {
    std::string html = "<ol class=\"clips\">\n";
    for (std::size_t k = 0; k < t.narrations.size(); ++k) {
        const std::int64_t at = t.narrationStartMs(k);
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", static_cast<double>(at) / 1000.0);
        html += "<li><a href=\"#\" data-start=\"" + std::string(seconds) + "\">" + clock(at) +
                "</a> " + escapeHtml(t.clipTitle(k)) + "</li>\n";
    }
    return html + "</ol>\n";
}

std::string section(int number, const IndexEntry& e) {
    std::string html = "<section class=\"asana\" id=\"asana-" + std::to_string(number) +
                       "\">\n<h2>" + std::to_string(number) + ". " + escapeHtml(e.name) + "</h2>\n";
    if (e.file.empty())
        return html + "<p class=\"error\">Not rendered: " + escapeHtml(e.error) +
               "</p>\n</section>\n";
    html += "<p class=\"facts\">" + facts(e.timeline) + "</p>\n";
    html += "<video controls preload=\"metadata\" src=\"" + addressOf(e.file) + "\">";
    html += "<track kind=\"chapters\" label=\"Clips\" srclang=\"en\" src=\"" +
            addressOf(e.chapters) + "\" default></video>\n";
    return html + clipList(e.timeline) + "</section>\n";
}

const char* const PageStyle = R"(<style>
body { font-family: sans-serif; margin: 1.5em auto; max-width: 50em; padding: 0 1em; color: #222; }
section.asana { border-top: 1px solid #ccc; padding: 0.5em 0 1em; }
video { width: 100%; max-width: 44em; background: #000; }
.facts { color: #666; margin: 0.2em 0 0.6em; }
.error { color: #a00; }
ol.clips { padding-left: 1.5em; }
ol.clips a { font-family: monospace; }
</style>
)";

// A click on a clip plays its asana's video from that clip's start.
const char* const PageScript = R"(<script>
document.querySelectorAll('ol.clips a').forEach(function (link) {
  link.addEventListener('click', function (event) {
    event.preventDefault();
    var video = link.closest('section').querySelector('video');
    video.currentTime = parseFloat(link.dataset.start);
    video.play();
  });
});
</script>
)";

}  // namespace

std::string courseFileName(int index, int count, const std::string& asana, Container container) {
    const int width = std::max<int>(2, static_cast<int>(std::to_string(count).size()));
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", width, index);
    std::string slug;
    for (unsigned char c : asana) {
        const bool kept = std::isalnum(c) != 0 || c == '_' || c >= 0x80;
        if (kept)
            slug += static_cast<char>(c);
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return std::string(number) + (slug.empty() ? "" : "-" + slug) +
           (container == Container::Mp4 ? ".mp4" : ".webm");
}

std::string courseIndexHtml(const std::string& courseTitle,
                            const std::vector<IndexEntry>& entries) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<title>" +
        escapeHtml(courseTitle) + "</title>\n" + PageStyle + "</head>\n<body>\n<h1>" +
        escapeHtml(courseTitle) + "</h1>\n";
    for (std::size_t i = 0; i < entries.size(); ++i)
        html += section(static_cast<int>(i + 1), entries[i]);
    return html + PageScript + "</body>\n</html>\n";
}

}  // namespace tessaro::render
