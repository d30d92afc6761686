// SPDX-License-Identifier: MIT
#include "platform/media/command_tokens.h"

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "platform/paths/paths.h"

namespace tessaro::media {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::vector<Token> tokenize(std::string_view command) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (true) {
        while (i < command.size() && isBlank(command[i]))
            ++i;
        if (i == command.size())
            return tokens;
        Token token;
        token.begin = i;
        if (command[i] == '"') {
            const std::size_t close = command.find('"', i + 1);
            if (close == std::string_view::npos)
                throw Error(static_cast<int>(errors::NoClosingQuote), "no closing quote");
            token.text = command.substr(i + 1, close - i - 1);
            token.quoted = true;
            i = close + 1;
        } else {
            while (i < command.size() && !isBlank(command[i]))
                ++i;
            token.text = command.substr(token.begin, i - token.begin);
        }
        token.end = i;
        tokens.push_back(std::move(token));
    }
}

std::string keyword(const Token& token) {
    return paths::foldCase(token.text);
}

}  // namespace tessaro::media
