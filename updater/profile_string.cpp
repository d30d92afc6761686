// SPDX-License-Identifier: MIT
#include "updater/profile_string.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>

#include "updater/folder_entries.h"
#include "updater/shown_text.h"

namespace mendrick {
namespace {

// No profile holds more; a larger file is not read into memory at all.
constexpr std::size_t LargestProfile = 1u << 20;

bool isBlank(char c) {
    // Ctrl-Z is the end-of-file mark old editors left at the end of the file.
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\x1a';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lowered(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool equalCaseBlind(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowered(x) == lowered(y);
           });
}

// The file's text, or nothing for a file that is missing or cannot be read. A named pipe,
// a device, a socket or a folder is refused by name before anything opens it, and the
// open does not wait either, in case one took the file's place meanwhile.
std::string fileText(const std::string& file) {
    struct stat entry;
    if (::stat(file.c_str(), &entry) != 0)
        return {};
    if (const std::optional<std::string> reason = notAFile(entry.st_mode))
        throw ProfileUnusable("cannot read the profile file " + shown(file) + ": " + *reason);
    const Descriptor in(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened;
    if (!in.valid() || ::fstat(in.get(), &opened) != 0)
        return {};
    if (const std::optional<std::string> reason = notAFile(opened.st_mode))
        throw ProfileUnusable("cannot read the profile file " + shown(file) + ": " + *reason);
    std::string text;
    std::array<char, 64 * 1024> chunk;
    for (;;) {
        const ssize_t got = ::read(in.get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {};
        if (got == 0)
            break;
        if (text.size() + static_cast<std::size_t>(got) > LargestProfile)
            throw ProfileUnusable("cannot read the profile file " + shown(file) +
                                  ": it is larger than 1 MiB");
        text.append(chunk.data(), static_cast<std::size_t>(got));
    }
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(ByteOrderMark))
        text.erase(0, ByteOrderMark.size());
    return text;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<std::string_view> sectionName(std::string_view line) {
    if (!line.starts_with('['))
        return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return trimmed(line.substr(1, close - 1));
}

struct Entry {
    std::string_view key;
    std::optional<std::string_view> value;  // absent for a line without "="
};

Entry entryOf(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {line, std::nullopt};
    return {trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

// The value of the first `key` in the first section named `section`; nothing when the
// section, the key or the key's "=" is missing.
std::optional<std::string> findValue(const std::string& text, std::string_view section,
                                     std::string_view key) {
    enum class Place { Before, Inside, After } place = Place::Before;
    std::string_view rest = text;
    while (!rest.empty() && place != Place::After) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = trimmed(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (line.empty())
            continue;
        if (const auto name = sectionName(line)) {
            if (place == Place::Inside)
                place = Place::After;
            else if (equalCaseBlind(*name, section))
                place = Place::Inside;
            continue;
        }
        if (place != Place::Inside)
            continue;
        const Entry entry = entryOf(line);
        if (equalCaseBlind(entry.key, key)) {
            if (!entry.value)
                return std::nullopt;
            return std::string(*entry.value);
        }
    }
    return std::nullopt;
}

std::string_view withoutQuotes(std::string_view value) {
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::size_t copyInto(std::string_view text, std::span<char> buffer) {
    if (buffer.empty())
        return 0;
    const std::size_t count = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), count, buffer.begin());
    buffer[count] = '\0';
    return count;
}

}  // namespace

std::size_t readProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view fallback,
                              std::span<char> buffer) {
    const std::optional<std::string> value =
        findValue(fileText(file), trimmed(section), trimmed(key));
    if (!value) {
        while (!fallback.empty() && fallback.back() == ' ')
            fallback.remove_suffix(1);
        return copyInto(fallback, buffer);
    }
    return copyInto(withoutQuotes(*value), buffer);
}

}  // namespace mendrick
