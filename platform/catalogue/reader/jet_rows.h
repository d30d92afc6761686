// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/catalogue/reader/byte_view.h"
#include "platform/catalogue/reader/jet_pages.h"

namespace tessaro::catalogue {

// Where one row lies in its page, from the page's row offset table.
struct RowBounds {
    std::size_t start = 0;
    std::size_t size = 0;
    bool deleted = false;
};

// The number of entries in a data page's row offset table. Damage when the table does
// not fit in the page.
std::size_t rowCount(const JetPages& pages, const ByteView& page);
// Entry `row` of the table (row < rowCount). Damage when the row does not lie in the page.
RowBounds rowBounds(const JetPages& pages, const ByteView& page, std::size_t row);
// The bytes of the row a long value or usage map address names: page number << 8 | row
// number. Damage when it does not exist or is deleted.
ByteView rowAt(const JetPages& pages, std::uint32_t address);

}  // namespace tessaro::catalogue
