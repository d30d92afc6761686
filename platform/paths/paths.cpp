// SPDX-License-Identifier: MIT
#include "platform/paths/paths.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <optional>
#include <vector>

namespace tessaro::paths {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::vector<std::string_view> components(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && isSeparator(path[i]))
            ++i;
        const std::size_t start = i;
        while (i < path.size() && !isSeparator(path[i]))
            ++i;
        if (i > start)
            parts.push_back(path.substr(start, i - start));
    }
    return parts;
}

bool exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

std::optional<std::string> caseBlindEntry(const std::string& folder, std::string_view name) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "." : folder.c_str()),
                                            ::closedir);
    if (!dir)
        return std::nullopt;
    const std::string wanted = foldCase(name);
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string candidate = entry->d_name;
        // Several entries may differ only in case; the smallest one wins so that the
        // choice does not depend on the directory's order.
        if (foldCase(candidate) == wanted && (!best || candidate < *best))
            best = candidate;
    }
    return best;
}

std::string join(const std::string& folder, std::string_view name) {
    if (folder.empty())
        return std::string(name);
    if (folder.back() == '/')
        return folder + std::string(name);
    return folder + "/" + std::string(name);
}

}  // namespace

std::string foldCase(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < utf8.size()) {
            // U+00C0..U+00DE (but U+00D7, the multiplication sign) are the Latin-1 capitals;
            // in UTF-8 their second byte is 0x80..0x9E and the small letter is 0x20 above.
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            out += static_cast<char>(c);
            out += static_cast<char>((next >= 0x80 && next <= 0x9E && next != 0x97) ? next + 0x20
                                                                                    : next);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string resolve(std::string_view windowsPath) {
    std::string resolved = (!windowsPath.empty() && isSeparator(windowsPath.front())) ? "/" : "";
    bool matching = true;
    for (const std::string_view part : components(windowsPath)) {
        std::string next = join(resolved, part);
        if (matching && !exists(next)) {
            if (auto entry = caseBlindEntry(resolved, part)) {
                next = join(resolved, *entry);
            } else {
                matching = false;
            }
        }
        resolved = std::move(next);
    }
    return resolved;
}

}  // namespace tessaro::paths
