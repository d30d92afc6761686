// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/catalogue/writer/jet3_format.h"

namespace tessaro::catalogue::jet3 {

// One column as the file stores it.
struct StoredColumn {
    std::string name;  // in the file's code page
    std::uint8_t type = TextType;
    std::uint16_t size = 0;  // bytes of a fixed or text column; 0 for memo and OLE
    std::uint8_t extraFlags = 0;
    // Filled by layOutColumns:
    std::uint16_t fixedOffset = 0;  // fixed columns: offset in the fixed area
    std::uint16_t varIndex = 0;     // variable columns: index in the offset table
    std::uint16_t varsBefore = 0;   // number of variable columns before this one
};

// A boolean lives in the null mask only; every other fixed column has its bytes in the
// fixed area of the row.
bool isFixed(std::uint8_t type);
std::uint16_t fixedSize(std::uint8_t type);

struct ColumnLayout {
    std::vector<StoredColumn> columns;
    std::uint16_t fixedAreaSize = 0;
    std::uint16_t variableCount = 0;
};

// Places the fixed columns one after another in column order and numbers the variable
// ones.
ColumnLayout layOutColumns(std::vector<StoredColumn> columns);

}  // namespace tessaro::catalogue::jet3
