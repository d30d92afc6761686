// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>

#include "platform/media/reply_reading.h"

namespace tessaro::media {
namespace {

// The area trimmed of blanks at both ends, without its last character.
std::string_view replyText(const char* replyArea, std::size_t areaSize) {
    if (!replyArea)
        return {};
    std::string_view text(replyArea, areaSize);
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    text.remove_suffix(1);
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t from) {
    while (from < text.size() && isDigit(text[from]))
        ++from;
    return from;
}

// Length of the number at the start of text (a sign, digits, a point and digits); 0
// when it holds no digit.
std::size_t leadingNumberLength(std::string_view text) {
    std::size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
    const std::size_t integerEnd = skipDigits(text, i);
    std::size_t end = integerEnd;
    std::size_t fractionDigits = 0;
    if (end < text.size() && text[end] == '.') {
        end = skipDigits(text, end + 1);
        fractionDigits = end - integerEnd - 1;
    }
    return (integerEnd > i || fractionDigits > 0) ? end : 0;
}

}  // namespace

std::string readModeReply(const char* replyArea, std::size_t areaSize) {
    std::string_view text = replyText(replyArea, areaSize);
    text = text.substr(0, text.find('\0'));
    std::string mode(text);
    std::transform(mode.begin(), mode.end(), mode.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return mode;
}

double readPositionReply(const char* replyArea, std::size_t areaSize) {
    std::string_view text = replyText(replyArea, areaSize);
    text = text.substr(0, leadingNumberLength(text));
    if (text.empty())
        return 0;
    const bool negative = text.front() == '-';
    if (text.front() == '-' || text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return negative ? -value : value;
}

}  // namespace tessaro::media
