// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro::catalogue::jet3 {

// Converts UTF-8 text to Windows code page 1252, the code page the writer stores text in.
// Empty when the text is not valid UTF-8 or holds a character the code page lacks.
std::optional<std::string> toCodePage1252(std::string_view utf8);

}  // namespace tessaro::catalogue::jet3
