// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tessaro/variant.h>
#include "platform/catalogue/column_type.h"
#include "platform/catalogue/reader/jet_pages.h"

namespace tessaro::catalogue {

// A column as stored, described by the nearest type of the catalogue description
// (bytes read as integer; single, currency, date and decimal as double; binary and OLE
// as memo).
struct StoredColumn {
    std::string name;
    ColumnType type = ColumnType::Text;
    int size = 0;  // text columns: characters
};

// Where a row lies: its data page and its entry in the page's row table.
struct RowPlace {
    std::uint32_t page = 0;
    std::uint32_t row = 0;
};

// Keeps only the rows whose value in column (an index into the table's columns) passes.
struct RowFilter {
    std::size_t column = 0;
    std::function<bool(const Variant&)> accepts;
};

// A Jet 3 or Jet 4 file's user tables. Values come as the engine hands them out: integers,
// doubles, UTF-8 text, booleans as -1 / 0, Variant::null() for a null. The user tables'
// catalogue is read on opening; a table's column layout on its first use, then kept. Safe
// to share between handles of one process: every read takes the reader's own lock.
class JetReader {
  public:
    // Reads the catalogue of the file pages has opened. Throws tessaro::Error 3343 naming
    // displayPath when it is damaged.
    JetReader(std::unique_ptr<JetPages> pages, const std::string& displayPath);
    ~JetReader();
    JetReader(const JetReader&) = delete;
    JetReader& operator=(const JetReader&) = delete;

    // The header the pages read on opening, for an open of the file by another handle.
    const JetHeader& header() const;

    // User tables in stored order.
    std::vector<std::string> userTables() const;
    // The stored name of the user table named so, letter case aside.
    std::optional<std::string> findUserTable(std::string_view name) const;

    // table must be a stored name from userTables or findUserTable.
    std::vector<StoredColumn> columns(const std::string& table);
    // Rows in stored order, handed to onRow one at a time as they are read; with a filter
    // only those it accepts (the filter's column is decoded first, the others only for
    // accepted rows). A reader of the whole file holds one row, not the table. Damage
    // found part-way throws after the rows before it were handed out.
    void eachRow(const std::string& table, const std::optional<RowFilter>& filter,
                 const std::function<void(std::vector<Variant>&&)>& onRow);
    // Where the rows eachRow would give lie, each row read whole once so that any damage
    // shows now. A snapshot keeps these few bytes a row instead of the row's values and
    // reads a row again with rowAt when it is asked for.
    std::vector<RowPlace> rowPlaces(const std::string& table,
                                    const std::optional<RowFilter>& filter);
    // The values of the row at place, as eachRow gives them. Damage (3343) when the page no
    // longer holds that row.
    std::vector<Variant> rowAt(const std::string& table, RowPlace place);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tessaro::catalogue
