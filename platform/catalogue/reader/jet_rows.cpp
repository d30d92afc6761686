// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_rows.h"

namespace tessaro::catalogue {
namespace {

constexpr std::size_t RowOffsetMask = 0x1fff;
constexpr std::uint16_t DeletedRow = 0x4000;

}  // namespace

std::size_t rowCount(const JetPages& pages, const ByteView& page) {
    const std::size_t table = pages.layout().rowCountOffset;
    const std::size_t rows = page.u16(table);
    if (table + 2 + rows * 2 > page.size())
        throw Damage("page " + std::to_string(page.page()) + " lists more rows than it holds");
    return rows;
}

RowBounds rowBounds(const JetPages& pages, const ByteView& page, std::size_t row) {
    const std::size_t table = pages.layout().rowCountOffset;
    const std::uint16_t entry = page.u16(table + 2 + row * 2);
    if (entry & DeletedRow)
        return RowBounds{0, 0, true};
    const std::size_t start = entry & RowOffsetMask;
    const std::size_t end = row == 0 ? page.size() : page.u16(table + row * 2) & RowOffsetMask;
    if (start >= end || end > page.size())
        throw Damage("row " + std::to_string(row) + " of page " + std::to_string(page.page()) +
                     " lies outside it");
    return RowBounds{start, end - start, false};
}

ByteView rowAt(const JetPages& pages, std::uint32_t address) {
    const ByteView page = pages.read(address >> 8);
    const std::size_t row = address & 0xff;
    if (row >= rowCount(pages, page))
        throw Damage("row " + std::to_string(row) + " of page " + std::to_string(page.page()) +
                     " does not exist");
    const RowBounds bounds = rowBounds(pages, page, row);
    if (bounds.deleted)
        throw Damage("row " + std::to_string(row) + " of page " + std::to_string(page.page()) +
                     " is deleted");
    return page.row(bounds.start, bounds.size);
}

}  // namespace tessaro::catalogue
