// SPDX-License-Identifier: MIT
#include "updater/shown_text.h"

#include <cstdio>

namespace mendrick {
namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, 0 if there is none.
std::size_t sequenceLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

}  // namespace

bool validText(std::string_view text) {
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        if (length == 0)
            return false;
        text.remove_prefix(length);
    }
    return true;
}

std::string shown(std::string_view text) {
    std::string result;
    while (!text.empty()) {
        const std::size_t length = sequenceLength(text);
        const auto lead = static_cast<unsigned char>(text.front());
        if (length == 0 || (length == 1 && isControl(lead)) ||
            (length == 2 && lead == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0)) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", lead);
            result += escaped;
            text.remove_prefix(1);
            continue;
        }
        result.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return result;
}

}  // namespace mendrick
