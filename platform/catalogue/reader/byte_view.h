// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/catalogue/reader/jet_damage.h"

namespace tessaro::catalogue {

// The bytes of one page, or of one row in it. Every read is checked against them, so a
// value taken from the file that points outside is Damage, never a read beyond the
// buffer. A row's view shares its page's bytes and counts offsets from the row's start.
class ByteView {
  public:
    // The whole of page `number`.
    ByteView(std::uint32_t number, std::vector<std::uint8_t> bytes);

    // The row that takes count bytes of this page from at; Damage when they do not all lie
    // in the page.
    ByteView row(std::size_t at, std::size_t count) const;

    std::uint32_t page() const { return page_; }
    std::size_t size() const { return bytes_.size(); }
    std::uint8_t u8(std::size_t at) const { return span(at, 1)[0]; }
    std::uint16_t u16(std::size_t at) const;
    std::uint32_t u32(std::size_t at) const;
    std::uint64_t u64(std::size_t at) const;
    // count bytes from at; Damage when they do not all lie in the view.
    std::span<const std::uint8_t> span(std::size_t at, std::size_t count) const;

    // Damage found in a row, naming its page.
    Damage rowDamage(const std::string& what) const;

  private:
    ByteView(std::shared_ptr<const std::vector<std::uint8_t>> page, std::uint32_t number,
             std::span<const std::uint8_t> bytes, bool row)
        : pageBytes_(std::move(page)), page_(number), bytes_(bytes), row_(row) {}

    std::shared_ptr<const std::vector<std::uint8_t>> pageBytes_;
    std::uint32_t page_;
    std::span<const std::uint8_t> bytes_;
    bool row_;
};

}  // namespace tessaro::catalogue
