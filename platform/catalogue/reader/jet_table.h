// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/catalogue/reader/jet_pages.h"

namespace tessaro::catalogue {

// A column as the table definition stores it (its type one of jet::types).
struct JetColumn {
    std::string name;
    int type = 0;
    int number = 0;  // its bit in a row's null mask; columns are kept in this order
    int size = 0;    // bytes; 0 for a boolean
    bool fixed = false;
    int fixedOffset = 0;    // fixed columns: after the row's column count
    int varIndex = 0;       // variable columns: entry in the row's offset table
    int decimalPlaces = 0;  // numeric columns
};

struct JetTable {
    std::string name;
    std::uint32_t definitionPage = 0;
    // What the definition says of itself: its kind (UserTableKind for a user table) and the
    // number of rows the table holds.
    std::uint8_t kind = 0;
    std::uint32_t rowCount = 0;
    std::vector<JetColumn> columns;
    bool hasVariableColumns = false;
    // The table's data pages as its usage map names them, in page order; every one lies
    // in the file.
    std::vector<std::uint32_t> dataPages;
};

inline constexpr std::uint8_t UserTableKind = 0x4E;

// Reads the definition starting at definitionPage (its columns and its usage map).
// Throws Damage when it is not a table definition, a count exceeds what Jet allows
// (255 columns, 255 indexes, 28 decimal places), a column name is longer than Jet's 64
// characters, a column is of no known type, or a page, row or map it names is not in
// the file.
JetTable readJetTable(const JetPages& pages, const std::string& name, std::uint32_t definitionPage);

}  // namespace tessaro::catalogue
