// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/catalogue/writer/column_layout.h"
#include "platform/catalogue/writer/long_values.h"
#include "platform/catalogue/writer/page_file.h"
#include "platform/catalogue/writer/row_encoding.h"

namespace tessaro::catalogue::jet3 {

// Encodes a table's rows and packs them, in order, into data pages owned by its
// definition page. Memo values stay in their row while the row fits on a page and move to
// long value pages otherwise. Returns the data pages. Throws tessaro::Error (3001) naming
// the table and row when a row cannot fit on a page even so.
std::vector<std::uint32_t> writeTableRows(PageFile& file, LongValueStore& longValues,
                                          std::uint32_t definitionPage,
                                          const std::string& tableName, const ColumnLayout& layout,
                                          const std::vector<std::vector<StoredValue>>& rows);

}  // namespace tessaro::catalogue::jet3
