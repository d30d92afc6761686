// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/byte_view.h"

namespace tessaro::catalogue {

ByteView::ByteView(std::uint32_t number, std::vector<std::uint8_t> bytes)
    : pageBytes_(std::make_shared<const std::vector<std::uint8_t>>(std::move(bytes))),
      page_(number),
      bytes_(*pageBytes_),
      row_(false) {}

ByteView ByteView::row(std::size_t at, std::size_t count) const {
    return ByteView(pageBytes_, page_, span(at, count), true);
}

std::span<const std::uint8_t> ByteView::span(std::size_t at, std::size_t count) const {
    if (at > bytes_.size() || count > bytes_.size() - at)
        throw row_ ? rowDamage("has its tables outside its bytes")
                   : Damage("a value reaches past the end of page " + std::to_string(page_));
    return bytes_.subspan(at, count);
}

std::uint16_t ByteView::u16(std::size_t at) const {
    const auto b = span(at, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t ByteView::u32(std::size_t at) const {
    return u16(at) | (std::uint32_t{u16(at + 2)} << 16);
}

std::uint64_t ByteView::u64(std::size_t at) const {
    return u32(at) | (std::uint64_t{u32(at + 4)} << 32);
}

Damage ByteView::rowDamage(const std::string& what) const {
    return Damage("a row of page " + std::to_string(page_) + " " + what);
}

}  // namespace tessaro::catalogue
