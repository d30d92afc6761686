// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_row_fields.h"

#include <string>

namespace tessaro::catalogue {
namespace {

constexpr std::size_t OffsetRange = 256;

// A row's byte at an offset computed from the row's own tables, which may be negative.
std::uint8_t u8At(const ByteView& row, std::ptrdiff_t at) {
    return row.u8(static_cast<std::size_t>(at));
}

// Jet 3 keeps one byte per offset and a table of "jumps": the offset-table index at
// which offsets pass each further multiple of 256 (libmdb's mdb_crack_row3).
std::vector<std::size_t> jet3Offsets(const ByteView& row, std::size_t maskBytes,
                                     std::size_t varCount) {
    const auto size = static_cast<std::ptrdiff_t>(row.size());
    const auto mask = static_cast<std::ptrdiff_t>(maskBytes);
    const auto count = static_cast<std::ptrdiff_t>(varCount);
    std::ptrdiff_t jumps = (size - 1) / static_cast<std::ptrdiff_t>(OffsetRange);
    const std::ptrdiff_t last = size - 2 - mask - jumps;
    // The last jump entry is a dummy when the offsets do not reach its range.
    if (last - count >= 0 && (last - count) / static_cast<std::ptrdiff_t>(OffsetRange) < jumps)
        --jumps;
    if (last - count < 1)
        throw row.rowDamage("has more variable columns than bytes");
    std::vector<std::size_t> offsets;
    offsets.reserve(varCount + 1);
    std::ptrdiff_t used = 0;
    for (std::ptrdiff_t i = 0; i <= count; ++i) {
        while (used < jumps && i == u8At(row, size - 2 - mask - used))
            ++used;
        offsets.push_back(u8At(row, last - i) + static_cast<std::size_t>(used) * OffsetRange);
    }
    return offsets;
}

// Jet 4 keeps two bytes per offset.
std::vector<std::size_t> jet4Offsets(const ByteView& row, std::size_t maskBytes,
                                     std::size_t varCount) {
    const auto first = static_cast<std::ptrdiff_t>(row.size() - maskBytes) - 4;
    if (first - 2 * static_cast<std::ptrdiff_t>(varCount) < 2)
        throw row.rowDamage("has more variable columns than bytes");
    std::vector<std::size_t> offsets;
    offsets.reserve(varCount + 1);
    for (std::size_t i = 0; i <= varCount; ++i)
        offsets.push_back(
            row.u16(static_cast<std::size_t>(first - 2 * static_cast<std::ptrdiff_t>(i))));
    return offsets;
}

Field located(const JetColumn& column, const RowBounds& bounds, std::size_t start,
              std::size_t end) {
    if (start > end || end > bounds.size)
        throw Damage("column '" + column.name + "': its value lies outside its row");
    return Field{true, bounds.start + start, end - start};
}

}  // namespace

std::vector<Field> crackRow(const JetPages& pages, const JetTable& table, const ByteView& page,
                            const RowBounds& bounds) {
    const ByteView row = page.row(bounds.start, bounds.size);
    const std::size_t countBytes = pages.isJet3() ? 1 : 2;
    const std::size_t rowColumns = pages.isJet3() ? row.u8(0) : row.u16(0);
    const std::size_t maskBytes = (rowColumns + 7) / 8;
    if (maskBytes + countBytes > row.size())
        throw row.rowDamage("is shorter than its null mask");
    const std::size_t maskStart = row.size() - maskBytes;

    std::vector<std::size_t> offsets;
    std::size_t varCount = 0;
    if (table.hasVariableColumns) {
        const auto countAt = static_cast<std::ptrdiff_t>(maskStart) - (pages.isJet3() ? 1 : 2);
        const auto countIndex = static_cast<std::size_t>(countAt);
        varCount = pages.isJet3() ? row.u8(countIndex) : row.u16(countIndex);
        if (varCount > rowColumns)
            throw row.rowDamage("has more variable columns than columns");
        offsets = pages.isJet3() ? jet3Offsets(row, maskBytes, varCount)
                                 : jet4Offsets(row, maskBytes, varCount);
    }

    std::vector<Field> fields;
    fields.reserve(table.columns.size());
    std::size_t fixedFound = 0;
    const std::size_t rowFixed = rowColumns - varCount;
    for (const JetColumn& column : table.columns) {
        const auto byte = static_cast<std::size_t>(column.number) / 8;
        const bool set =
            byte < maskBytes && (row.u8(maskStart + byte) & (1u << (column.number % 8)));
        const auto varIndex = static_cast<std::size_t>(column.varIndex);
        Field field;
        if (column.fixed && fixedFound < rowFixed) {
            const std::size_t start = countBytes + static_cast<std::size_t>(column.fixedOffset);
            field = located(column, bounds, start, start + static_cast<std::size_t>(column.size));
            field.null = !set;
            ++fixedFound;
        } else if (!column.fixed && varIndex < varCount) {
            field = located(column, bounds, offsets[varIndex], offsets[varIndex + 1]);
            field.null = !set;
        }
        fields.push_back(field);
    }
    return fields;
}

}  // namespace tessaro::catalogue