// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaro::media {

// A word of a command: blank-separated, or a "quoted" run that may hold blanks (its
// text without the quotes). begin and end locate it in the command text.
struct Token {
    std::string text;
    std::size_t begin = 0;
    std::size_t end = 0;
    bool quoted = false;
};

// Splits a command into words. Throws tessaro::Error (no closing quote) for a quote
// left open.
std::vector<Token> tokenize(std::string_view command);

// The word folded to small letters, for comparison with keywords.
std::string keyword(const Token& token);

}  // namespace tessaro::media
