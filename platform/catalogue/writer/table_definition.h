// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

#include "platform/catalogue/writer/column_layout.h"

namespace tessaro::catalogue::jet3 {

struct TableDefinition {
    ColumnLayout layout;
    bool isSystemTable = false;
    std::uint32_t rowCount = 0;
    std::uint32_t usageMapRow = 0;  // (page << 8 | row) of the map of the table's data pages
    std::uint32_t freeMapRow = 0;   // the same for its pages with free space
};

// The table definition page: header, counts, the addresses of both usage maps, one
// 18-byte entry per column, the column names. Tables have no indexes. Empty when the
// definition does not fit on one page.
std::optional<Bytes> tableDefinitionPage(const TableDefinition& table);

}  // namespace tessaro::catalogue::jet3
