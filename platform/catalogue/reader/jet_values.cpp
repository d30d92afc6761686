// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_values.h"

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace tessaro::catalogue {
namespace {

constexpr std::size_t LongValueHeader = 12;
constexpr std::uint32_t InlineValue = 0x80000000;
constexpr std::uint32_t SinglePageValue = 0x40000000;
constexpr std::uint32_t LengthMask = 0x3fffffff;
constexpr std::size_t ChainLinkBytes = 4;
constexpr std::size_t NumericBytes = 17;
constexpr std::size_t ReplicationIdBytes = 16;

// Bytes a value of the type takes in its row; 0 for the variable ones.
std::size_t storedWidth(int type) {
    switch (type) {
        case jet::types::Byte:
            return 1;
        case jet::types::Integer:
            return 2;
        case jet::types::Long:
        case jet::types::Complex:
        case jet::types::Single:
            return 4;
        case jet::types::Currency:
        case jet::types::Double:
        case jet::types::DateTime:
            return 8;
        case jet::types::ReplicationId:
            return ReplicationIdBytes;
        case jet::types::Numeric:
            return NumericBytes;
        default:
            return 0;
    }
}

std::string bytesText(std::span<const std::uint8_t> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// A chain of rows, each starting with the address of the next.
std::vector<std::uint8_t> chainedValue(const JetPages& pages, std::uint32_t address,
                                       std::size_t length, LongValueClaims& claims,
                                       std::uint64_t owner) {
    // Jet keeps an empty memo in its row; a chain always holds data.
    if (length == 0)
        throw Damage("its memo chain is empty");
    std::vector<std::uint8_t> value;
    std::set<std::uint32_t> visited;
    while (value.size() < length) {
        if (address == 0)
            throw Damage("its memo chain ends after " + std::to_string(value.size()) + " of " +
                         std::to_string(length) + " bytes");
        if (!visited.insert(address).second)
            throw Damage("its memo chain runs in a circle");
        claims.claim(address, owner);
        const ByteView link = rowAt(pages, address);
        if (link.size() <= ChainLinkBytes)
            throw Damage("a link of its memo chain holds no data");
        const auto chunk = link.span(ChainLinkBytes, link.size() - ChainLinkBytes);
        if (chunk.size() > length - value.size())
            throw Damage("its memo chain holds more than its stored length");
        value.insert(value.end(), chunk.begin(), chunk.end());
        address = link.u32(0);
    }
    return value;
}

// Memo and OLE values: a 12-byte header (length and kind, address of the data) followed
// by the data itself, or the data in a row of its own, or in a chain of rows.
std::vector<std::uint8_t> longValue(const JetPages& pages, const ByteView& page, const Field& field,
                                    LongValueClaims& claims, std::uint64_t owner) {
    if (field.size < LongValueHeader)
        throw Damage("its memo header is cut short");
    const std::uint32_t head = page.u32(field.start);
    const std::size_t length = head & LengthMask;
    if (length > pages.fileBytes())
        throw Damage("its memo length " + std::to_string(length) + " is larger than the file");
    const std::uint32_t address = page.u32(field.start + 4);
    std::span<const std::uint8_t> stored;
    if (head & InlineValue) {
        stored = page.span(field.start + LongValueHeader, field.size - LongValueHeader);
    } else if (head & SinglePageValue) {
        claims.claim(address, owner);
        const ByteView row = rowAt(pages, address);
        const auto bytes = row.span(0, row.size());
        if (bytes.size() != length)
            throw Damage("its memo length " + std::to_string(length) + " differs from its row's " +
                         std::to_string(bytes.size()));
        return {bytes.begin(), bytes.end()};
    } else {
        return chainedValue(pages, address, length, claims, owner);
    }
    if (stored.size() != length)
        throw Damage("its memo length " + std::to_string(length) + " differs from the " +
                     std::to_string(stored.size()) + " bytes it holds");
    return {stored.begin(), stored.end()};
}

// Jet 4's decimal: a sign byte, then a 128-bit magnitude as four 32-bit words, the most
// significant first, scaled down by the column's decimal places.
double numericValue(const JetColumn& column, const ByteView& page, std::size_t start) {
    unsigned __int128 magnitude = 0;
    for (std::size_t word = 0; word < 4; ++word)
        magnitude = (magnitude << 32) | page.u32(start + 1 + word * 4);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    const std::string text =
        ((page.u8(start) & 0x80) ? "-" : "") + digits + "e-" + std::to_string(column.decimalPlaces);
    return std::strtod(text.c_str(), nullptr);
}

// A replication id as mdbtools formats it: {4-2-2-8 hex digits}, the first three groups
// little-endian.
std::string replicationId(const ByteView& page, std::size_t start) {
    const auto b = page.span(start, ReplicationIdBytes);
    char text[40];
    std::snprintf(text, sizeof text,
                  "{%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X%02X%02X}", b[3],
                  b[2], b[1], b[0], b[5], b[4], b[7], b[6], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

}  // namespace

void LongValueClaims::claim(std::uint32_t address, std::uint64_t owner) {
    const auto [entry, added] = owners_.emplace(address, owner);
    if (!added && entry->second != owner)
        throw Damage("its memo data is shared with another value");
}

std::uint64_t valueOwner(std::uint32_t page, std::size_t row, int column) {
    return (std::uint64_t{page} << 24) | (std::uint64_t{row} << 8) |
           static_cast<std::uint64_t>(column & 0xff);
}

Variant decodeValue(const JetPages& pages, const JetColumn& column, const ByteView& page,
                    const Field& field, LongValueClaims& claims, std::uint64_t owner) {
    if (column.type == jet::types::Boolean)
        return Variant(field.null ? 0 : -1);
    if (field.null)
        return Variant::null();
    if (field.size < storedWidth(column.type))
        throw Damage("its " + std::to_string(field.size) + " bytes cannot hold a value of " +
                     std::to_string(storedWidth(column.type)));
    const std::size_t at = field.start;
    switch (column.type) {
        case jet::types::Byte:
            return Variant(int{page.u8(at)});
        case jet::types::Integer:
            return Variant(int{static_cast<std::int16_t>(page.u16(at))});
        case jet::types::Long:
        case jet::types::Complex:
            return Variant(int{static_cast<std::int32_t>(page.u32(at))});
        case jet::types::Currency:
            return Variant(static_cast<double>(static_cast<std::int64_t>(page.u64(at))) / 10000.0);
        case jet::types::Single:
            return Variant(double{std::bit_cast<float>(page.u32(at))});
        case jet::types::Double:
        case jet::types::DateTime:
            return Variant(std::bit_cast<double>(page.u64(at)));
        case jet::types::Numeric:
            return Variant(numericValue(column, page, at));
        case jet::types::ReplicationId:
            return Variant(replicationId(page, at));
        case jet::types::Text:
            return Variant(pages.text(page.span(at, field.size)));
        case jet::types::Memo:
            return Variant(pages.text(longValue(pages, page, field, claims, owner)));
        case jet::types::Ole:
            return Variant(bytesText(longValue(pages, page, field, claims, owner)));
        default:
            return Variant(bytesText(page.span(at, field.size)));
    }
}

}  // namespace tessaro::catalogue
