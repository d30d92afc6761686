// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace mendrick {

// The profile file cannot serve: what() names it and says why, paths shown with
// control characters escaped.
struct ProfileUnusable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads one value from an INI-style profile file with the classic profile-string rules:
// - "[section]" lines open sections, "key=value" lines hold values; blanks (and a
//   carriage return) around section names, keys and values are ignored;
// - section and key are matched case-blind; only the first section of that name is
//   searched, and the first matching key in it wins;
// - a value enclosed in a pair of matching quotes (' or ") loses them;
// - a missing file, section or key, or a key line without "=", gives `fallback` with
//   its trailing blanks removed;
// - the text is copied into `buffer` cut to buffer.size() - 1 characters and followed
//   by a zero; the result is the number of characters copied, without the zero.
// An empty buffer receives nothing and gives 0. A missing or unreadable file counts as
// empty. A file that is no regular file (a named pipe, a device, a socket, a folder) or that
// is larger than 1 MiB is refused with ProfileUnusable, before anything waits on it or
// reads it whole.
std::size_t readProfileString(const std::string& file, std::string_view section,
                              std::string_view key, std::string_view fallback,
                              std::span<char> buffer);

}  // namespace mendrick
