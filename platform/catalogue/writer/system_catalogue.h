// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "platform/catalogue/writer/column_layout.h"
#include "platform/catalogue/writer/row_encoding.h"

namespace tessaro::catalogue::jet3 {

// The columns of MSysObjects, as Access 97 defines them.
ColumnLayout systemCatalogueLayout();

struct CatalogueTable {
    std::string name;  // in the file's code page
    std::uint32_t definitionPage = 0;
};

// The rows of MSysObjects: the Tables, Databases and Relationships containers,
// MSysObjects itself (a system table) and one row per user table (Type 1, Id = its
// definition page, Flags 0).
std::vector<std::vector<StoredValue>> systemCatalogueRows(
    const std::vector<CatalogueTable>& userTables);

}  // namespace tessaro::catalogue::jet3
