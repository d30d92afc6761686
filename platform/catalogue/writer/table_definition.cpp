// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/table_definition.h"

#include "platform/catalogue/writer/byte_order.h"

namespace tessaro::catalogue::jet3 {
namespace {

constexpr std::uint8_t UserTableType = 0x4e;
constexpr std::uint8_t SystemTableType = 0x53;
constexpr std::size_t DefinitionLengthOffset = 8;
constexpr std::uint16_t EndOfLongValueMaps = 0xffff;

void appendHeader(Bytes& out, const TableDefinition& table) {
    const auto columnCount = static_cast<std::uint16_t>(table.layout.columns.size());
    appendU8(out, TableDefinitionPageType);
    appendU8(out, 0x01);
    appendU8(out, 'V');
    appendU8(out, 'C');
    appendU32(out, 0);  // no continuation page
    appendU32(out, 0);  // definition length, set once known
    appendU32(out, table.rowCount);
    appendU32(out, 0);  // next autonumber
    appendU8(out, table.isSystemTable ? SystemTableType : UserTableType);
    appendU16(out, columnCount);  // columns a row can hold
    appendU16(out, table.layout.variableCount);
    appendU16(out, columnCount);
    appendU32(out, 0);  // logical indexes
    appendU32(out, 0);  // physical indexes
    appendU32(out, table.usageMapRow);
    appendU32(out, table.freeMapRow);
}

void appendColumn(Bytes& out, const StoredColumn& column, std::uint16_t number) {
    const bool fixed = isFixed(column.type);
    appendU8(out, column.type);
    appendU16(out, number);
    appendU16(out, fixed ? column.varsBefore : column.varIndex);
    appendU16(out, number);
    appendU16(out, 1);
    appendU16(out, GeneralSortOrder);
    appendU16(out, CodePage1252);
    appendU8(out, static_cast<std::uint8_t>((fixed ? FixedLengthFlag : 0) | NullableFlag |
                                            column.extraFlags));
    appendU16(out, fixed ? column.fixedOffset : 0);
    appendU16(out, column.size);
}

}  // namespace

std::optional<Bytes> tableDefinitionPage(const TableDefinition& table) {
    Bytes page;
    appendHeader(page, table);
    std::uint16_t number = 0;
    for (const auto& column : table.layout.columns) {
        appendColumn(page, column, number++);
    }
    for (const auto& column : table.layout.columns) {
        appendU8(page, static_cast<std::uint8_t>(column.name.size()));
        page.insert(page.end(), column.name.begin(), column.name.end());
    }
    appendU16(page, EndOfLongValueMaps);
    if (page.size() > PageSize) {
        return std::nullopt;
    }
    storeU32(page, DefinitionLengthOffset, static_cast<std::uint32_t>(page.size()));
    page.resize(PageSize, std::uint8_t{0});
    return page;
}

}  // namespace tessaro::catalogue::jet3
