// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "platform/catalogue/writer/jet3_format.h"

namespace tessaro::catalogue::jet3 {

// The file being laid out: numbered pages of PageSize bytes, handed out in order.
class PageFile {
  public:
    std::uint32_t allocate();
    Bytes& page(std::uint32_t number) { return pages_.at(number); }
    std::uint32_t pageCount() const { return static_cast<std::uint32_t>(pages_.size()); }
    Bytes contents() const;

  private:
    std::vector<Bytes> pages_;
};

// Fills pages of one owner (a table definition page, the long value marker, or 0 for
// usage maps) with rows, starting a new page when the current one is full. Each row is
// addressed as (page << 8 | row number).
class RowPacker {
  public:
    RowPacker(PageFile& file, std::uint32_t owner) : file_(file), owner_(owner) {}

    // Makes an already allocated, still empty page the first one this packer fills.
    void startOn(std::uint32_t page);
    // row.size() must not exceed MaxRowSize.
    std::uint32_t add(const Bytes& row);
    // The pages this packer filled, in order.
    const std::vector<std::uint32_t>& pages() const { return pages_; }

  private:
    bool fitsOnCurrentPage(std::size_t rowSize) const;
    void startPage();
    void initialisePage(std::uint32_t number);

    PageFile& file_;
    std::uint32_t owner_;
    std::vector<std::uint32_t> pages_;
    std::size_t rowsOnPage_ = 0;
    std::size_t rowStart_ = PageSize;
};

}  // namespace tessaro::catalogue::jet3
