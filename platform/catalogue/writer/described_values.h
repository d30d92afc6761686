// SPDX-License-Identifier: MIT
#pragma once

#include "platform/catalogue/writer/catalogue_writer.h"
#include "platform/catalogue/writer/column_layout.h"
#include "platform/catalogue/writer/row_encoding.h"

namespace tessaro::catalogue::jet3 {

// The stored form of a described column. Throws tessaro::Error (3001) with a reason when
// the column cannot be stored (size out of range, name not in code page 1252).
StoredColumn storedColumn(const ColumnDescription& column);

// The stored form of one described value; a memo's bytes are its code page text, still
// without the long value header. Throws tessaro::Error (3001) with the reason the value
// does not fit the column.
StoredValue storedValue(const ColumnDescription& column, const Variant& value);

}  // namespace tessaro::catalogue::jet3
