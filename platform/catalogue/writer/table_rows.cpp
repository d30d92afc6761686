// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/table_rows.h"

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::catalogue::jet3 {
namespace {

bool isLongValue(const StoredColumn& column) {
    return column.type == MemoType || column.type == OleType;
}

// The row with each memo value wrapped by longValue.
template <typename LongValue>
std::vector<StoredValue> withLongValues(const ColumnLayout& layout, std::vector<StoredValue> row,
                                        LongValue longValue) {
    for (std::size_t i = 0; i < row.size(); ++i) {
        if (isLongValue(layout.columns[i]) && !row[i].isNull) {
            row[i].bytes = longValue(row[i].bytes);
        }
    }
    return row;
}

}  // namespace

std::vector<std::uint32_t> writeTableRows(PageFile& file, LongValueStore& longValues,
                                          std::uint32_t definitionPage,
                                          const std::string& tableName, const ColumnLayout& layout,
                                          const std::vector<std::vector<StoredValue>>& rows) {
    RowPacker packer(file, definitionPage);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        auto encoded = encodeRow(layout, withLongValues(layout, rows[i], inlineLongValue));
        if (!encoded) {
            const auto stored = [&](const Bytes& value) { return longValues.store(value); };
            encoded = encodeRow(layout, withLongValues(layout, rows[i], stored));
        }
        if (!encoded) {
            throw Error(errors::InvalidCatalogueDescription,
                        "table \"" + tableName + "\", row " + std::to_string(i + 1) +
                            ": the row is longer than a page holds (" + std::to_string(MaxRowSize) +
                            " bytes)");
        }
        packer.add(*encoded);
    }
    return packer.pages();
}

}  // namespace tessaro::catalogue::jet3
