// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/catalogue_writer.h"

#include <set>

#include "platform/catalogue/writer/code_page_1252.h"
#include "platform/catalogue/writer/described_values.h"
#include "platform/catalogue/writer/file_output.h"
#include "platform/catalogue/writer/header_page.h"
#include "platform/catalogue/writer/system_catalogue.h"
#include "platform/catalogue/writer/table_definition.h"
#include "platform/catalogue/writer/table_rows.h"
#include "platform/catalogue/writer/usage_map.h"
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

using namespace jet3;

// A table ready for the pages: its stored name, columns and rows.
struct PreparedTable {
    std::string name;  // as described, for messages
    std::string storedName;
    ColumnLayout layout;
    std::vector<std::vector<StoredValue>> rows;
    std::uint32_t definitionPage = 0;
    std::vector<std::uint32_t> dataPages;
};

[[noreturn]] void reject(const std::string& where, const std::string& reason) {
    throw Error(errors::InvalidCatalogueDescription, where + ": " + reason);
}

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string storedName(const std::string& name, const std::string& where) {
    const auto stored = toCodePage1252(name);
    if (!stored || stored->empty() || stored->size() > MaxNameLength) {
        reject(where, "a name must be 1..64 characters of code page 1252");
    }
    return *stored;
}

// Names are told apart without regard to letter case, as Jet looks them up.
void claimName(std::set<std::string>& taken, const std::string& name, const std::string& where) {
    if (!taken.insert(paths::foldCase(name)).second) {
        reject(where, "the name is used twice (letter case does not count)");
    }
}

ColumnLayout prepareColumns(const TableDescription& table) {
    const std::string where = "table " + quoted(table.name);
    if (table.columns.empty()) {
        reject(where, "a table needs at least one column");
    }
    std::set<std::string> taken;
    std::vector<StoredColumn> columns;
    for (const auto& column : table.columns) {
        const std::string columnWhere = where + ", column " + quoted(column.name);
        claimName(taken, column.name, columnWhere);
        try {
            columns.push_back(storedColumn(column));
        } catch (const Error& error) {
            reject(columnWhere, error.text());
        }
    }
    return layOutColumns(std::move(columns));
}

std::vector<StoredValue> prepareRow(const TableDescription& table, std::size_t index) {
    const auto& row = table.rows[index];
    const std::string where = "table " + quoted(table.name) + ", row " + std::to_string(index + 1);
    if (row.size() != table.columns.size()) {
        reject(where, "has " + std::to_string(row.size()) + " values for " +
                          std::to_string(table.columns.size()) + " columns");
    }
    std::vector<StoredValue> values;
    values.reserve(row.size());
    for (std::size_t i = 0; i < row.size(); ++i) {
        try {
            values.push_back(storedValue(table.columns[i], row[i]));
        } catch (const Error& error) {
            reject(where + ", column " + quoted(table.columns[i].name), error.text());
        }
    }
    return values;
}

std::vector<PreparedTable> prepareTables(const CatalogueDescription& description) {
    std::set<std::string> taken{paths::foldCase("MSysObjects")};
    std::vector<PreparedTable> tables;
    for (const auto& table : description.tables) {
        const std::string where = "table " + quoted(table.name);
        PreparedTable prepared;
        prepared.name = table.name;
        prepared.storedName = storedName(table.name, where);
        claimName(taken, table.name, where);
        prepared.layout = prepareColumns(table);
        for (std::size_t i = 0; i < table.rows.size(); ++i) {
            prepared.rows.push_back(prepareRow(table, i));
        }
        tables.push_back(std::move(prepared));
    }
    return tables;
}

std::string storedPassword(const std::string& password) {
    // The header keeps the password in a zero-padded field, so a zero character would end
    // it there and the file would refuse the password it was given.
    if (password.find('\0') != std::string::npos) {
        throw Error(errors::InvalidCatalogueDescription,
                    "password: a zero character cannot be stored in a password");
    }
    const auto stored = toCodePage1252(password);
    if (!stored || stored->size() > MaxPasswordLength) {
        throw Error(errors::InvalidCatalogueDescription,
                    "password: at most 20 characters of code page 1252");
    }
    return *stored;
}

std::uint32_t addUsageMap(RowPacker& maps, const std::vector<std::uint32_t>& pages,
                          const std::string& tableName) {
    const auto map = usageMap(pages);
    if (!map) {
        reject("table " + quoted(tableName), "the table spans more pages than a usage map holds");
    }
    return maps.add(*map);
}

void writeDefinition(PageFile& file, RowPacker& maps, std::uint32_t page,
                     const std::string& tableName, const ColumnLayout& layout, bool isSystemTable,
                     std::size_t rowCount, const std::vector<std::uint32_t>& dataPages) {
    TableDefinition definition;
    definition.layout = layout;
    definition.isSystemTable = isSystemTable;
    definition.rowCount = static_cast<std::uint32_t>(rowCount);
    definition.usageMapRow = addUsageMap(maps, dataPages, tableName);
    definition.freeMapRow = addUsageMap(maps, {}, tableName);
    const auto bytes = tableDefinitionPage(definition);
    if (!bytes) {
        reject("table " + quoted(tableName), "the column definitions do not fit on one page");
    }
    file.page(page) = *bytes;
}

}  // namespace

void writeCatalogue(const CatalogueDescription& description, const std::string& path,
                    const std::string& password) {
    const std::string storedPwd = storedPassword(password);
    std::vector<PreparedTable> tables = prepareTables(description);

    PageFile file;
    const std::uint32_t headerPageNumber = file.allocate();
    RowPacker maps(file, 0);
    maps.startOn(file.allocate());
    file.allocate();  // the system catalogue's definition
    for (auto& table : tables) {
        table.definitionPage = file.allocate();
    }

    LongValueStore longValues(file);
    std::vector<CatalogueTable> catalogueTables;
    for (auto& table : tables) {
        table.dataPages = writeTableRows(file, longValues, table.definitionPage, table.name,
                                         table.layout, table.rows);
        catalogueTables.push_back({table.storedName, table.definitionPage});
    }

    const ColumnLayout catalogueLayout = systemCatalogueLayout();
    const auto catalogueRows = systemCatalogueRows(catalogueTables);
    const auto catalogueDataPages = writeTableRows(file, longValues, SystemCatalogueDefinitionPage,
                                                   "MSysObjects", catalogueLayout, catalogueRows);
    writeDefinition(file, maps, SystemCatalogueDefinitionPage, "MSysObjects", catalogueLayout, true,
                    catalogueRows.size(), catalogueDataPages);
    for (const auto& table : tables) {
        writeDefinition(file, maps, table.definitionPage, table.name, table.layout, false,
                        table.rows.size(), table.dataPages);
    }
    file.page(headerPageNumber) = headerPage(storedPwd);

    writeFileAtomically(paths::resolve(path), file.contents());
}

}  // namespace tessaro::catalogue
