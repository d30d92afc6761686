// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/usage_map.h"

#include <algorithm>

#include "platform/catalogue/writer/byte_order.h"

namespace tessaro::catalogue::jet3 {
namespace {

// Access writes 128-byte bitmaps starting at page 0; a table beyond their reach gets a
// bitmap that starts at its first page and grows as needed.
constexpr std::size_t StandardBitmapSize = 128;
constexpr std::size_t MapHeaderSize = 5;

}  // namespace

std::optional<Bytes> usageMap(const std::vector<std::uint32_t>& pages) {
    std::uint32_t start = 0;
    std::size_t bitmapSize = StandardBitmapSize;
    if (!pages.empty()) {
        const auto [first, last] = std::minmax_element(pages.begin(), pages.end());
        if (*last >= StandardBitmapSize * 8) {
            start = *first / 8 * 8;
            bitmapSize = std::max<std::size_t>(StandardBitmapSize, (*last - start) / 8 + 1);
        }
    }
    if (MapHeaderSize + bitmapSize > MaxRowSize) {
        return std::nullopt;
    }
    Bytes map;
    appendU8(map, 0);
    appendU32(map, start);
    map.resize(MapHeaderSize + bitmapSize, std::uint8_t{0});
    for (const std::uint32_t page : pages) {
        const std::uint32_t bit = page - start;
        map[MapHeaderSize + bit / 8] |= static_cast<std::uint8_t>(1u << (bit % 8));
    }
    return map;
}

}  // namespace tessaro::catalogue::jet3
