// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_table.h"

#include <algorithm>

#include "platform/catalogue/reader/jet_rows.h"

namespace tessaro::catalogue {
namespace {

// Jet's own limits; a count beyond them can only come from damage.
constexpr std::size_t MaxColumns = 255;
constexpr std::size_t MaxIndexes = 255;
constexpr std::size_t MaxNameBytes = 128;  // 64 characters of two bytes
constexpr int MaxDecimalPlaces = 28;
// A definition of 255 columns, their names and 255 indexes fills far fewer pages.
constexpr std::size_t MaxDefinitionPages = 64;
constexpr std::size_t ContinuationHeader = 8;
constexpr std::size_t NextPageOffset = 4;
// From the column count back to the definition's kind byte.
constexpr std::size_t KindBeforeColumnCount = 5;

// A table definition spans a chain of pages: the first one whole, then each following
// page after its header.
class DefinitionBytes {
  public:
    DefinitionBytes(const JetPages& pages, const ByteView& first) : pages_(pages), last_(first) {
        const auto whole = first.span(0, first.size());
        bytes_.assign(whole.begin(), whole.end());
    }

    std::span<const std::uint8_t> read(std::size_t at, std::size_t count) {
        while (bytes_.size() < at + count)
            appendNextPage();
        return std::span(bytes_).subspan(at, count);
    }
    std::uint16_t u16(std::size_t at) {
        const auto b = read(at, 2);
        return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    }

  private:
    void appendNextPage() {
        const std::uint32_t next = last_.u32(NextPageOffset);
        if (next == 0 || ++pagesRead_ >= MaxDefinitionPages)
            throw Damage("its definition runs past its last page");
        ByteView page = pages_.read(next);
        if (page.u8(0) != jet::DefinitionPageType)
            throw Damage("page " + std::to_string(next) + " continuing its definition is none");
        const auto more = page.span(ContinuationHeader, page.size() - ContinuationHeader);
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        last_ = std::move(page);
    }

    const JetPages& pages_;
    ByteView last_;
    std::vector<std::uint8_t> bytes_;
    std::size_t pagesRead_ = 1;
};

bool knownType(int type) {
    switch (type) {
        case jet::types::Boolean:
        case jet::types::Byte:
        case jet::types::Integer:
        case jet::types::Long:
        case jet::types::Currency:
        case jet::types::Single:
        case jet::types::Double:
        case jet::types::DateTime:
        case jet::types::Binary:
        case jet::types::Text:
        case jet::types::Ole:
        case jet::types::Memo:
        case jet::types::ReplicationId:
        case jet::types::Numeric:
        case jet::types::Complex:
            return true;
        default:
            return false;
    }
}

JetColumn columnEntry(const jet::Layout& layout, std::span<const std::uint8_t> entry) {
    const auto u16 = [&](std::size_t at) {
        return static_cast<int>(entry[at] | (entry[at + 1] << 8));
    };
    JetColumn column;
    column.type = entry[0];
    column.number = entry[layout.columnNumberOffset];
    column.varIndex = u16(layout.columnVariableIndexOffset);
    column.decimalPlaces = entry[layout.columnDecimalPlacesOffset];
    column.fixed = (entry[layout.columnFlagsOffset] & 0x01) != 0;
    column.fixedOffset = u16(layout.columnFixedOffsetOffset);
    column.size = column.type == jet::types::Boolean ? 0 : u16(layout.columnSizeOffset);
    return column;
}

std::vector<JetColumn> readColumns(const JetPages& pages, DefinitionBytes& definition,
                                   std::size_t columnCount, std::size_t realIndexes) {
    const jet::Layout& layout = pages.layout();
    std::size_t at = layout.tableColumnsStart + realIndexes * layout.realIndexEntrySize;
    std::vector<JetColumn> columns;
    for (std::size_t i = 0; i < columnCount; ++i) {
        columns.push_back(columnEntry(layout, definition.read(at, layout.columnEntrySize)));
        at += layout.columnEntrySize;
    }
    for (JetColumn& column : columns) {
        const std::size_t nameBytes =
            pages.isJet3() ? definition.read(at, 1)[0] : definition.u16(at);
        at += pages.isJet3() ? 1 : 2;
        if (nameBytes > MaxNameBytes)
            throw Damage("a column name of " + std::to_string(nameBytes) +
                         " bytes is longer than Jet allows");
        column.name = pages.text(definition.read(at, nameBytes));
        at += nameBytes;
        if (!knownType(column.type))
            throw Damage("column '" + column.name + "' is of no known type (" +
                         std::to_string(column.type) + ")");
        if (column.type == jet::types::Numeric && column.decimalPlaces > MaxDecimalPlaces)
            throw Damage("column '" + column.name + "' has " +
                         std::to_string(column.decimalPlaces) + " decimal places");
    }
    std::stable_sort(columns.begin(), columns.end(),
                     [](const JetColumn& a, const JetColumn& b) { return a.number < b.number; });
    const auto twin = std::adjacent_find(
        columns.begin(), columns.end(),
        [](const JetColumn& a, const JetColumn& b) { return a.number == b.number; });
    if (twin != columns.end())
        throw Damage("columns '" + twin->name + "' and '" + std::next(twin)->name +
                     "' have the same number");
    return columns;
}

void addMappedPage(const JetPages& pages, std::uint64_t page, std::vector<std::uint32_t>& out) {
    if (page >= pages.count())
        throw Damage("its usage map names page " + std::to_string(page) +
                     ", past the end of the file");
    out.push_back(static_cast<std::uint32_t>(page));
}

void addBitmapPages(const JetPages& pages, std::span<const std::uint8_t> bitmap,
                    std::uint64_t firstPage, std::vector<std::uint32_t>& out) {
    for (std::size_t byte = 0; byte < bitmap.size(); ++byte) {
        for (int bit = 0; bitmap[byte] >> bit; ++bit) {
            if (bitmap[byte] & (1u << bit))
                addMappedPage(pages, firstPage + byte * 8 + static_cast<unsigned>(bit), out);
        }
    }
}

// The two usage map kinds: 0, a bitmap in the map itself from a first page on; 1, a
// list of pages that each hold a bitmap of the next (page size - 4) * 8 pages.
std::vector<std::uint32_t> mappedPages(const JetPages& pages, std::uint32_t mapAddress) {
    const ByteView map = rowAt(pages, mapAddress);
    const auto bytes = map.span(0, map.size());
    std::vector<std::uint32_t> out;
    if (!bytes.empty() && bytes[0] == 0 && bytes.size() >= 5) {
        addBitmapPages(pages, bytes.subspan(5), map.u32(1), out);
    } else if (!bytes.empty() && bytes[0] == 1) {
        const std::uint64_t pagesPerMapPage = (pages.pageSize() - 4) * 8;
        for (std::size_t entry = 0; entry < (bytes.size() - 1) / 4; ++entry) {
            const std::uint32_t mapPage = map.u32(1 + entry * 4);
            if (mapPage == 0)
                continue;
            const ByteView bitmapPage = pages.read(mapPage);
            addBitmapPages(pages, bitmapPage.span(4, pages.pageSize() - 4), entry * pagesPerMapPage,
                           out);
        }
    } else {
        throw Damage("its usage map is of no known kind");
    }
    return out;
}

}  // namespace

JetTable readJetTable(const JetPages& pages, const std::string& name,
                      std::uint32_t definitionPage) {
    const jet::Layout& layout = pages.layout();
    const ByteView first = pages.read(definitionPage);
    if (first.u8(0) != jet::DefinitionPageType)
        throw Damage("page " + std::to_string(definitionPage) + " is no table definition");
    const std::size_t columnCount = first.u16(layout.tableColumnsOffset);
    const std::size_t realIndexes = first.u32(layout.tableRealIndexesOffset);
    if (columnCount > MaxColumns || realIndexes > MaxIndexes)
        throw Damage("its definition counts " + std::to_string(columnCount) + " columns and " +
                     std::to_string(realIndexes) + " indexes, more than Jet allows");

    JetTable table;
    table.name = name;
    table.definitionPage = definitionPage;
    table.kind = first.u8(layout.tableColumnsOffset - KindBeforeColumnCount);
    table.rowCount = first.u32(layout.tableRowsOffset);
    table.hasVariableColumns = first.u16(layout.tableColumnsOffset - 2) > 0;
    table.dataPages = mappedPages(pages, first.u32(layout.tableUsageMapOffset));
    DefinitionBytes definition(pages, first);
    table.columns = readColumns(pages, definition, columnCount, realIndexes);
    return table;
}

}  // namespace tessaro::catalogue
