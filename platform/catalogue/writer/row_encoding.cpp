// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/row_encoding.h"

#include <algorithm>

namespace tessaro::catalogue::jet3 {
namespace {

constexpr std::size_t OffsetRange = 256;

Bytes nullMask(const ColumnLayout& layout, const std::vector<StoredValue>& values) {
    Bytes mask((layout.columns.size() + 7) / 8, std::uint8_t{0});
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool present =
            layout.columns[i].type == BooleanType ? values[i].truth : !values[i].isNull;
        if (present) {
            mask[i / 8] |= static_cast<std::uint8_t>(1u << (i % 8));
        }
    }
    return mask;
}

// Offsets wider than a byte are told apart by the jump table: entry j names the first
// offset-table index whose offset reaches (j + 1) * 256. Entries past the end of the
// variable data are dummies (0xff).
Bytes jumpTable(const std::vector<std::size_t>& offsets, std::size_t jumps) {
    Bytes table;
    for (std::size_t j = jumps; j-- > 0;) {
        const auto reaching = std::find_if(offsets.begin(), offsets.end(), [&](std::size_t o) {
            return o >= (j + 1) * OffsetRange;
        });
        table.push_back(reaching == offsets.end()
                            ? std::uint8_t{0xff}
                            : static_cast<std::uint8_t>(reaching - offsets.begin()));
    }
    return table;
}

}  // namespace

std::optional<Bytes> encodeRow(const ColumnLayout& layout, const std::vector<StoredValue>& values) {
    Bytes row{static_cast<std::uint8_t>(layout.columns.size())};
    row.resize(1 + layout.fixedAreaSize, std::uint8_t{0});
    std::vector<std::size_t> offsets(layout.variableCount);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const StoredColumn& column = layout.columns[i];
        if (isFixed(column.type)) {
            std::copy(values[i].bytes.begin(), values[i].bytes.end(),
                      row.begin() + 1 + column.fixedOffset);
        } else {
            offsets[column.varIndex] = row.size();
            row.insert(row.end(), values[i].bytes.begin(), values[i].bytes.end());
        }
    }
    const Bytes mask = nullMask(layout, values);
    if (layout.variableCount == 0) {
        row.insert(row.end(), mask.begin(), mask.end());
        return row.size() <= MaxRowSize ? std::optional<Bytes>{row} : std::nullopt;
    }

    const std::size_t end = row.size();
    offsets.push_back(end);
    const std::size_t fixedTrailer = offsets.size() + 1 + mask.size();
    std::size_t jumps = 0;
    while ((end + fixedTrailer + jumps - 1) / OffsetRange > jumps) {
        ++jumps;
    }
    // A reader skips at most one dummy jump entry.
    if (end + fixedTrailer + jumps > MaxRowSize || jumps > end / OffsetRange + 1) {
        return std::nullopt;
    }
    for (auto offset = offsets.rbegin(); offset != offsets.rend(); ++offset) {
        row.push_back(static_cast<std::uint8_t>(*offset % OffsetRange));
    }
    const Bytes jumpEntries = jumpTable(offsets, jumps);
    row.insert(row.end(), jumpEntries.begin(), jumpEntries.end());
    row.push_back(static_cast<std::uint8_t>(layout.variableCount));
    row.insert(row.end(), mask.begin(), mask.end());
    return row;
}

}  // namespace tessaro::catalogue::jet3
