#pragma once

#include <string>
#include <vector>

#include "platform/values/variant.h"

namespace tessaro::catalogue {

enum class ColumnType { Text, Memo, Integer, Long, Double, Boolean };

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
// catalogue engine; password, when not empty, is stored as the database password.
// Bad input (a row of the wrong length, text longer than its size, a value out of
// range or of the wrong kind) throws tessaro::Error whose text names the table, row and
// column; no file is left at path then.
void writeCatalogue(const CatalogueDescription& description, const std::string& path,
                    const std::string& password = "");

}  // namespace tessaro::catalogue
