// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/page_file.h"

#include <stdexcept>

#include "platform/catalogue/writer/byte_order.h"

namespace tessaro::catalogue::jet3 {

std::uint32_t PageFile::allocate() {
    pages_.emplace_back(PageSize, std::uint8_t{0});
    return pageCount() - 1;
}

Bytes PageFile::contents() const {
    Bytes out;
    out.reserve(pages_.size() * PageSize);
    for (const auto& page : pages_) {
        out.insert(out.end(), page.begin(), page.end());
    }
    return out;
}

std::uint32_t RowPacker::add(const Bytes& row) {
    if (row.size() > MaxRowSize) {
        throw std::length_error("row larger than a page");
    }
    if (pages_.empty() || !fitsOnCurrentPage(row.size())) {
        startPage();
    }
    Bytes& page = file_.page(pages_.back());
    rowStart_ -= row.size();
    std::copy(row.begin(), row.end(), page.begin() + static_cast<std::ptrdiff_t>(rowStart_));
    const auto rowNumber = static_cast<std::uint32_t>(rowsOnPage_++);
    storeU16(page, DataPageHeaderSize + RowOffsetSize * rowNumber,
             static_cast<std::uint16_t>(rowStart_));
    storeU16(page, 8, static_cast<std::uint16_t>(rowsOnPage_));
    const std::size_t used = DataPageHeaderSize + RowOffsetSize * rowsOnPage_;
    storeU16(page, 2, static_cast<std::uint16_t>(rowStart_ - used));
    return pages_.back() << 8 | rowNumber;
}

bool RowPacker::fitsOnCurrentPage(std::size_t rowSize) const {
    const std::size_t used = DataPageHeaderSize + RowOffsetSize * (rowsOnPage_ + 1);
    return rowsOnPage_ < MaxRowsPerPage && used + rowSize <= rowStart_;
}

void RowPacker::startOn(std::uint32_t page) {
    initialisePage(page);
}

void RowPacker::startPage() {
    initialisePage(file_.allocate());
}

void RowPacker::initialisePage(std::uint32_t number) {
    Bytes& page = file_.page(number);
    page[0] = DataPageType;
    page[1] = 0x01;
    storeU16(page, 2, static_cast<std::uint16_t>(PageSize - DataPageHeaderSize));
    storeU32(page, 4, owner_);
    pages_.push_back(number);
    rowsOnPage_ = 0;
    rowStart_ = PageSize;
}

}  // namespace tessaro::catalogue::jet3
