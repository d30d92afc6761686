// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/long_values.h"

#include <algorithm>

#include "platform/catalogue/writer/byte_order.h"

namespace tessaro::catalogue::jet3 {
namespace {

constexpr std::size_t ChainLinkSize = 4;
constexpr std::size_t ChunkSize = MaxRowSize - ChainLinkSize;

Bytes header(std::uint32_t lengthAndFlags, std::uint32_t address) {
    Bytes out;
    appendU32(out, lengthAndFlags);
    appendU32(out, address);
    appendU32(out, 0);
    return out;
}

}  // namespace

Bytes inlineLongValue(const Bytes& value) {
    Bytes out = header(static_cast<std::uint32_t>(value.size()) | InlineLongValue, 0);
    out.insert(out.end(), value.begin(), value.end());
    return out;
}

Bytes LongValueStore::store(const Bytes& value) {
    const auto length = static_cast<std::uint32_t>(value.size());
    if (value.size() <= MaxRowSize) {
        return header(length | SinglePageLongValue, packer_.add(value));
    }
    // The chain is written from its last chunk back, so each chunk knows its successor.
    std::uint32_t next = 0;
    const std::size_t chunks = (value.size() + ChunkSize - 1) / ChunkSize;
    for (std::size_t chunk = chunks; chunk-- > 0;) {
        Bytes row;
        appendU32(row, next);
        const auto first = value.begin() + static_cast<std::ptrdiff_t>(chunk * ChunkSize);
        const auto last = value.begin() + static_cast<std::ptrdiff_t>(
                                              std::min(value.size(), (chunk + 1) * ChunkSize));
        row.insert(row.end(), first, last);
        next = packer_.add(row);
    }
    return header(length, next);
}

}  // namespace tessaro::catalogue::jet3
