// SPDX-License-Identifier: MIT
#include "platform/catalogue/catalogue_dump.h"

#include "platform/catalogue/catalogue_file.h"

namespace tessaro::catalogue {

void visitCatalogue(std::string_view path, std::string_view password,
                    const CatalogueVisitor& visitor) {
    const CatalogueFile file(path, false, password);
    JetReader& reader = file.reader();
    for (const std::string& name : reader.userTables()) {
        TableDescription table;
        table.name = name;
        for (const StoredColumn& stored : reader.columns(name))
            table.columns.push_back({stored.name, stored.type, stored.size});
        visitor.onTable(table);
        reader.eachRow(name, std::nullopt, visitor.onRow);
    }
}

CatalogueDescription dumpCatalogue(std::string_view path, std::string_view password) {
    CatalogueDescription description;
    visitCatalogue(path, password,
                   {[&](const TableDescription& table) { description.tables.push_back(table); },
                    [&](std::vector<Variant>&& row) {
                        description.tables.back().rows.push_back(std::move(row));
                    }});
    return description;
}

}  // namespace tessaro::catalogue
