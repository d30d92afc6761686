#include "platform/catalogue/catalogue_dump.h"

#include "platform/catalogue/catalogue_file.h"

namespace tessaro::catalogue {

CatalogueDescription dumpCatalogue(std::string_view path, std::string_view password) {
    const CatalogueFile file(path, false, password);
    MdbReader& reader = file.reader();
    CatalogueDescription description;
    for (const std::string& name : reader.userTables()) {
        TableDescription& table = description.tables.emplace_back();
        table.name = name;
        for (const StoredColumn& stored : reader.columns(name))
            table.columns.push_back({stored.name, stored.type, stored.size});
        table.rows = reader.rows(name, std::nullopt);
    }
    return description;
}

}  // namespace tessaro::catalogue
