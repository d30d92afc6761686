// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include <tessaro/variant.h>
#include "platform/catalogue/column_type.h"

namespace tessaro::catalogue {

// Error numbers writeCatalogue throws: a description it cannot store, and a file it
// cannot write.
namespace errors {
inline constexpr int InvalidCatalogueDescription = 3001;
inline constexpr int CatalogueWriteFailed = 3043;
}  // namespace errors

struct ColumnDescription {
    std::string name;
    ColumnType type = ColumnType::Text;
    int size = 50;  // text columns only: 1..255 characters
};

// Rows hold one value per column, in column order: Variant::null() for a null, text for
// text and memo, numbers for the numeric types, 0 / non-zero for boolean.
struct TableDescription {
    std::string name;
    std::vector<ColumnDescription> columns;
    std::vector<std::vector<Variant>> rows;
};

struct CatalogueDescription {
    std::vector<TableDescription> tables;
};

// Writes a Jet 3 (Access 97) file holding the tables, readable by mdbtools and by the
// catalogue engine; password, when not empty, is stored as the database password: at
// most 20 characters of code page 1252, none of them a zero character.
// Bad input (a row of the wrong length, text longer than its size, a value out of
// range or of the wrong kind) throws tessaro::Error whose text names the table, row and
// column; no file is left at path then.
// Names: 1..64 characters, unique without regard to letter case within their table or
// file. Text is UTF-8 and must be expressible in code page 1252, which the file stores
// it in; a text column's size counts characters. A boolean column holds no null.
// The file is written to a temporary file beside path and renamed over it only when
// complete, so a failed write leaves an earlier file at path untouched.
void writeCatalogue(const CatalogueDescription& description, const std::string& path,
                    const std::string& password = "");

}  // namespace tessaro::catalogue
