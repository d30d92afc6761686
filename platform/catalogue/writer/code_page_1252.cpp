// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/code_page_1252.h"

#include <array>
#include <cstdint>

namespace tessaro::catalogue::jet3 {
namespace {

// Unicode code points of the bytes 0x80..0x9f; 0 marks a byte the code page leaves unused.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char> encode(char32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<char>(codePoint);
    }
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] != 0 && HighControls[i] == codePoint) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Reads one UTF-8 sequence at text[pos], advancing pos; empty on a malformed sequence.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<std::uint8_t>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    std::size_t trailing = 0;
    char32_t codePoint = 0;
    if ((lead & 0xE0) == 0xC0) {
        trailing = 1;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        trailing = 2;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        trailing = 3;
        codePoint = lead & 0x07;
    } else {
        return std::nullopt;
    }
    static constexpr std::array<char32_t, 4> Smallest = {0, 0x80, 0x800, 0x10000};
    for (std::size_t i = 0; i < trailing; ++i) {
        if (pos >= text.size() || (static_cast<std::uint8_t>(text[pos]) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        codePoint = codePoint << 6 | (static_cast<std::uint8_t>(text[pos++]) & 0x3F);
    }
    if (codePoint < Smallest[trailing]) {
        return std::nullopt;
    }
    return codePoint;
}

}  // namespace

std::optional<std::string> toCodePage1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const auto codePoint = decodeUtf8(utf8, pos);
        const auto byte = codePoint ? encode(*codePoint) : std::nullopt;
        if (!byte) {
            return std::nullopt;
        }
        out.push_back(*byte);
    }
    return out;
}

}  // namespace tessaro::catalogue::jet3
