// SPDX-License-Identifier: MIT
#include "platform/catalogue/jet_row_fields.h"

#include <span>
#include <string>

namespace tessaro::catalogue {
namespace {

constexpr std::size_t OffsetRange = 256;

// The bytes of one row, every read checked against the row.
class RowBytes {
  public:
    RowBytes(const PageBytes& page, const RowBounds& bounds)
        : bytes_(page.span(bounds.start, bounds.size)), page_(page.number()) {}

    std::size_t size() const { return bytes_.size(); }
    std::uint8_t u8(std::ptrdiff_t at) const {
        check(at, 1);
        return bytes_[static_cast<std::size_t>(at)];
    }
    std::uint16_t u16(std::ptrdiff_t at) const {
        check(at, 2);
        const auto i = static_cast<std::size_t>(at);
        return static_cast<std::uint16_t>(bytes_[i] | (bytes_[i + 1] << 8));
    }
    Damage damage(const std::string& what) const {
        return Damage("a row of page " + std::to_string(page_) + " " + what);
    }

  private:
    void check(std::ptrdiff_t at, std::size_t count) const {
        if (at < 0 || static_cast<std::size_t>(at) + count > bytes_.size())
            throw damage("has its tables outside its bytes");
    }

    std::span<const std::uint8_t> bytes_;
    std::uint32_t page_;
};

// Jet 3 keeps one byte per offset and a table of "jumps": the offset-table index at
// which offsets pass each further multiple of 256 (libmdb's mdb_crack_row3).
std::vector<std::size_t> jet3Offsets(const RowBytes& row, std::size_t maskBytes,
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
        throw row.damage("has more variable columns than bytes");
    std::vector<std::size_t> offsets;
    offsets.reserve(varCount + 1);
    std::ptrdiff_t used = 0;
    for (std::ptrdiff_t i = 0; i <= count; ++i) {
        while (used < jumps && i == row.u8(size - 2 - mask - used))
            ++used;
        offsets.push_back(row.u8(last - i) + static_cast<std::size_t>(used) * OffsetRange);
    }
    return offsets;
}

// Jet 4 keeps two bytes per offset.
std::vector<std::size_t> jet4Offsets(const RowBytes& row, std::size_t maskBytes,
                                     std::size_t varCount) {
    const auto first = static_cast<std::ptrdiff_t>(row.size() - maskBytes) - 4;
    if (first - 2 * static_cast<std::ptrdiff_t>(varCount) < 2)
        throw row.damage("has more variable columns than bytes");
    std::vector<std::size_t> offsets;
    offsets.reserve(varCount + 1);
    for (std::size_t i = 0; i <= varCount; ++i)
        offsets.push_back(row.u16(first - 2 * static_cast<std::ptrdiff_t>(i)));
    return offsets;
}

Field located(const JetColumn& column, const RowBounds& bounds, std::size_t start,
              std::size_t end) {
    if (start > end || end > bounds.size)
        throw Damage("column '" + column.name + "': its value lies outside its row");
    return Field{true, bounds.start + start, end - start};
}

}  // namespace

std::vector<Field> crackRow(const JetPages& pages, const JetTable& table, const PageBytes& page,
                            const RowBounds& bounds) {
    const RowBytes row(page, bounds);
    const std::size_t countBytes = pages.isJet3() ? 1 : 2;
    const std::size_t rowColumns = pages.isJet3() ? row.u8(0) : row.u16(0);
    const std::size_t maskBytes = (rowColumns + 7) / 8;
    if (maskBytes + countBytes > row.size())
        throw row.damage("is shorter than its null mask");
    const std::size_t maskStart = row.size() - maskBytes;

    std::vector<std::size_t> offsets;
    std::size_t varCount = 0;
    if (table.hasVariableColumns) {
        const auto countAt = static_cast<std::ptrdiff_t>(maskStart) - (pages.isJet3() ? 1 : 2);
        varCount = pages.isJet3() ? row.u8(countAt) : row.u16(countAt);
        if (varCount > rowColumns)
            throw row.damage("has more variable columns than columns");
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
            byte < maskBytes &&
            (row.u8(static_cast<std::ptrdiff_t>(maskStart + byte)) & (1u << (column.number % 8)));
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