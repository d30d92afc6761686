// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/catalogue_description_json.h"

#include <array>
#include <limits>
#include <utility>

namespace tessaro::catalogue {
namespace {

using Json = nlohmann::json;

constexpr std::array<std::pair<std::string_view, ColumnType>, 6> TypeNames = {{
    {"text", ColumnType::Text},
    {"memo", ColumnType::Memo},
    {"integer", ColumnType::Integer},
    {"long", ColumnType::Long},
    {"double", ColumnType::Double},
    {"boolean", ColumnType::Boolean},
}};

[[noreturn]] void reject(const std::string& where, const std::string& reason) {
    throw Error(errors::InvalidCatalogueDescription, where + ": " + reason);
}

const Json& member(const Json& object, const char* key, Json::value_t kind, const char* kindName,
                   const std::string& where) {
    const auto found = object.find(key);
    if (found == object.end()) {
        reject(where, std::string("\"") + key + "\" is missing");
    }
    if (found->type() != kind) {
        reject(where, std::string("\"") + key + "\" must be " + kindName);
    }
    return *found;
}

std::string tableWhere(const Json& table, std::size_t index) {
    const auto name = table.is_object() ? table.find("name") : table.end();
    if (table.is_object() && name != table.end() && name->is_string()) {
        return "table \"" + name->get<std::string>() + "\"";
    }
    return "table " + std::to_string(index + 1);
}

ColumnDescription readColumn(const Json& json, const std::string& tableWhereText,
                             std::size_t index) {
    std::string where = tableWhereText + ", column " + std::to_string(index + 1);
    if (!json.is_object()) {
        reject(where, "a column must be an object");
    }
    ColumnDescription column;
    column.name = member(json, "name", Json::value_t::string, "a text", where).get<std::string>();
    where = tableWhereText + ", column \"" + column.name + "\"";
    const auto typeName = member(json, "type", Json::value_t::string, "a text", where);
    const auto type = columnTypeFromName(typeName.get<std::string>());
    if (!type) {
        reject(where, "unknown type \"" + typeName.get<std::string>() +
                          "\" (text, memo, integer, long, double, boolean)");
    }
    column.type = *type;
    if (const auto size = json.find("size"); size != json.end()) {
        if (column.type != ColumnType::Text) {
            reject(where, "only a text column has a size");
        }
        if (!size->is_number_integer() || size->get<std::int64_t>() < 1 ||
            size->get<std::int64_t>() > 255) {
            reject(where, "the size must be a whole number from 1 to 255");
        }
        column.size = size->get<int>();
    }
    return column;
}

Variant readValue(const Json& json, const std::string& where) {
    switch (json.type()) {
        case Json::value_t::null:
            return Variant::null();
        case Json::value_t::string:
            return Variant(json.get<std::string>());
        case Json::value_t::boolean:
            return Variant(json.get<bool>() ? 1 : 0);
        case Json::value_t::number_integer:
            return Variant(json.get<std::int64_t>());
        case Json::value_t::number_unsigned:
            if (json.get<std::uint64_t>() >
                static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
                reject(where, json.dump() + " is out of range");
            }
            return Variant(json.get<std::int64_t>());
        case Json::value_t::number_float:
            return Variant(json.get<double>());
        default:
            reject(where,
                   "a value must be text, a number, true, false or null, not " + json.dump());
    }
}

std::vector<Variant> readRow(const Json& json, const TableDescription& table,
                             const std::string& where) {
    if (!json.is_array()) {
        reject(where, "a row must be an array of values");
    }
    std::vector<Variant> row;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const std::string columnWhere = i < table.columns.size()
                                            ? where + ", column \"" + table.columns[i].name + "\""
                                            : where + ", value " + std::to_string(i + 1);
        row.push_back(readValue(json[i], columnWhere));
    }
    return row;
}

TableDescription readTable(const Json& json, std::size_t index) {
    const std::string where = tableWhere(json, index);
    if (!json.is_object()) {
        reject(where, "a table must be an object");
    }
    TableDescription table;
    table.name = member(json, "name", Json::value_t::string, "a text", where).get<std::string>();
    const Json& columns = member(json, "columns", Json::value_t::array, "an array", where);
    for (std::size_t i = 0; i < columns.size(); ++i) {
        table.columns.push_back(readColumn(columns[i], where, i));
    }
    const Json& rows = member(json, "rows", Json::value_t::array, "an array", where);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        table.rows.push_back(readRow(rows[i], table, where + ", row " + std::to_string(i + 1)));
    }
    return table;
}

}  // namespace

CatalogueDescription catalogueDescriptionFromJson(const nlohmann::json& json) {
    if (!json.is_object()) {
        reject("description", "must be an object with \"tables\"");
    }
    const Json& tables = member(json, "tables", Json::value_t::array, "an array", "description");
    CatalogueDescription description;
    for (std::size_t i = 0; i < tables.size(); ++i) {
        description.tables.push_back(readTable(tables[i], i));
    }
    return description;
}

std::optional<ColumnType> columnTypeFromName(std::string_view name) {
    for (const auto& [candidate, type] : TypeNames) {
        if (candidate == name) {
            return type;
        }
    }
    return std::nullopt;
}

}  // namespace tessaro::catalogue
