// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <vector>

#include "platform/catalogue/reader/byte_view.h"
#include "platform/catalogue/reader/jet_pages.h"
#include "platform/catalogue/reader/jet_rows.h"
#include "platform/catalogue/reader/jet_table.h"

namespace tessaro::catalogue {

// One column's value in a row: its bytes' place in the page, or null. A boolean's
// value is its null-mask bit: null is false.
struct Field {
    bool null = true;
    std::size_t start = 0;
    std::size_t size = 0;
};

// Splits a row into the fields of table.columns, every offset checked against the row
// first: Damage (naming the column where one is at fault) when a field or the row's own
// tables reach outside the row. A column the row does not store (added to the table
// after the row was written) is null.
std::vector<Field> crackRow(const JetPages& pages, const JetTable& table, const ByteView& page,
                            const RowBounds& row);

}  // namespace tessaro::catalogue
