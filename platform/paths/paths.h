// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace tessaro::paths {

// Resolves a Windows-style path as the system builds it (root + "\video\" + name) on the
// POSIX file system:
// - "\" and "/" both separate components; doubled separators are harmless;
// - a leading separator makes the path absolute, otherwise it is relative to the
//   working folder;
// - a component that does not exist as written is matched case-blind (ASCII and
//   Latin-1 letters) against the entries of its folder, as the original file system did.
// Components from the first one that matches nothing are kept as written, so the result
// names the missing file and a caller's open fails on it. Never throws.
std::string resolve(std::string_view windowsPath);

// Folds ASCII and Latin-1 capital letters of a UTF-8 text to small ones; every other
// byte sequence is kept.
std::string foldCase(std::string_view utf8);

}  // namespace tessaro::paths
