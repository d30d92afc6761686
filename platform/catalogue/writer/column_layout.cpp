// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/column_layout.h"

namespace tessaro::catalogue::jet3 {

bool isFixed(std::uint8_t type) {
    switch (type) {
        case BooleanType:
        case IntegerType:
        case LongType:
        case DoubleType:
        case DateTimeType:
            return true;
        default:
            return false;
    }
}

std::uint16_t fixedSize(std::uint8_t type) {
    switch (type) {
        case IntegerType:
            return 2;
        case LongType:
            return 4;
        case DoubleType:
        case DateTimeType:
            return 8;
        default:
            return 0;
    }
}

ColumnLayout layOutColumns(std::vector<StoredColumn> columns) {
    ColumnLayout layout;
    for (auto& column : columns) {
        column.varsBefore = layout.variableCount;
        if (isFixed(column.type)) {
            column.size = column.type == BooleanType ? 1 : fixedSize(column.type);
            column.fixedOffset = layout.fixedAreaSize;
            layout.fixedAreaSize += fixedSize(column.type);
        } else {
            column.varIndex = layout.variableCount++;
        }
    }
    layout.columns = std::move(columns);
    return layout;
}

}  // namespace tessaro::catalogue::jet3
