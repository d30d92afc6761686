// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace mendrick {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool validText(std::string_view text);

// `text` fit to appear in a message: control characters and bytes that are no part of
// well-formed UTF-8 are written as \xHH, so a file name cannot drive the terminal or hide
// what follows it.
std::string shown(std::string_view text);

}  // namespace mendrick
