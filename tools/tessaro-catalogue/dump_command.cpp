#include <iostream>
#include <nlohmann/json.hpp>

#include "platform/catalogue/catalogue_dump.h"
#include "tools/tessaro-catalogue/command_arguments.h"
#include "tools/tessaro-catalogue/command_registry.h"
#include "tools/tessaro-catalogue/value_json.h"

namespace tessaro::tools {
namespace {

using catalogue::ColumnType;
using nlohmann::ordered_json;

std::string typeName(ColumnType type) {
    switch (type) {
        case ColumnType::Text:
            return "text";
        case ColumnType::Memo:
            return "memo";
        case ColumnType::Integer:
            return "integer";
        case ColumnType::Long:
            return "long";
        case ColumnType::Double:
            return "double";
        case ColumnType::Boolean:
            return "boolean";
    }
    return "memo";
}

// Booleans are written as true / false, as the description takes them.
ordered_json columnValueJson(const Variant& value, ColumnType type) {
    if (type == ColumnType::Boolean && value.kind() == Variant::Kind::Integer)
        return value.toDouble() != 0;
    return valueJson(value);
}

ordered_json tableJson(const catalogue::TableDescription& table) {
    ordered_json columns = ordered_json::array();
    for (const auto& column : table.columns) {
        ordered_json entry{{"name", column.name}, {"type", typeName(column.type)}};
        if (column.type == ColumnType::Text)
            entry["size"] = column.size;
        columns.push_back(std::move(entry));
    }
    ordered_json rows = ordered_json::array();
    for (const auto& row : table.rows) {
        ordered_json values = ordered_json::array();
        for (std::size_t i = 0; i < row.size(); ++i)
            values.push_back(columnValueJson(row[i], table.columns[i].type));
        rows.push_back(std::move(values));
    }
    return {{"name", table.name}, {"columns", std::move(columns)}, {"rows", std::move(rows)}};
}

int dump(const std::vector<std::string>& args) {
    const auto parsed = parseCommandArguments(args, 1);
    if (!parsed) {
        std::cerr << "usage: tessaro-catalogue dump FILE.mdb [--password PWD]\n";
        return 1;
    }
    try {
        const auto description = catalogue::dumpCatalogue(parsed->positional[0], parsed->password);
        ordered_json tables = ordered_json::array();
        for (const auto& table : description.tables)
            tables.push_back(tableJson(table));
        std::cout << ordered_json{{"tables", std::move(tables)}}.dump(
                         -1, ' ', false, ordered_json::error_handler_t::replace)
                  << "\n";
        return 0;
    } catch (const Error& error) {
        std::cerr << "error " << error.number() << ": " << error.text() << "\n";
        return 2;
    }
}

const CommandRegistration registration{
    {"dump", "dump FILE.mdb [--password PWD]   print the user tables as a JSON description", dump}};

}  // namespace
}  // namespace tessaro::tools
