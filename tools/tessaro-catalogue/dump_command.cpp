// SPDX-License-Identifier: MIT
#include <iostream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

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

std::string compact(const ordered_json& value) {
    return value.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

std::string columnsJson(const std::vector<catalogue::ColumnDescription>& described) {
    ordered_json columns = ordered_json::array();
    for (const auto& column : described) {
        ordered_json entry{{"name", column.name}, {"type", typeName(column.type)}};
        if (column.type == ColumnType::Text)
            entry["size"] = column.size;
        columns.push_back(std::move(entry));
    }
    return compact(columns);
}

// Writes the description row by row as it is read, in the form one JSON document of the
// whole catalogue would take, so that the output never needs the catalogue in memory.
class DescriptionPrinter {
  public:
    explicit DescriptionPrinter(std::ostream& out) : out_(out) { out_ << "{\"tables\":["; }

    void table(const catalogue::TableDescription& table) {
        closeTable();
        out_ << (tables_++ ? "," : "") << "{\"name\":" << compact(table.name)
             << ",\"columns\":" << columnsJson(table.columns) << ",\"rows\":[";
        types_.clear();
        for (const auto& column : table.columns)
            types_.push_back(column.type);
        rows_ = 0;
    }

    void row(const std::vector<Variant>& values) {
        ordered_json row = ordered_json::array();
        for (std::size_t i = 0; i < values.size(); ++i)
            row.push_back(columnValueJson(values[i], types_[i]));
        out_ << (rows_++ ? "," : "") << compact(row);
    }

    void finish() {
        closeTable();
        out_ << "]}\n";
    }

  private:
    void closeTable() {
        if (tables_)
            out_ << "]}";
    }

    std::ostream& out_;
    std::vector<ColumnType> types_;
    std::size_t tables_ = 0;
    std::size_t rows_ = 0;
};

// The file is read through once to find any damage, so that a damaged file prints
// nothing on stdout, then again to print it.
void printDescription(const std::string& file, const std::string& password) {
    catalogue::visitCatalogue(file, password, {[](const auto&) {}, [](auto&&) {}});
    DescriptionPrinter printer(std::cout);
    catalogue::visitCatalogue(
        file, password,
        {[&](const catalogue::TableDescription& table) { printer.table(table); },
         [&](std::vector<Variant>&& row) { printer.row(row); }});
    printer.finish();
}

int dump(const std::vector<std::string>& args) {
    const auto parsed = parseCommandArguments(args, 1);
    if (!parsed) {
        std::cerr << "usage: tessaro-catalogue dump FILE.mdb [--password PWD]\n";
        return 1;
    }
    try {
        printDescription(parsed->positional[0], parsed->password);
        return 0;
    } catch (const Error& error) {
        std::cerr << "error " << error.number() << ": " << error.text() << "\n";
        return 2;
    }
}

const CommandRegistration registration({
    .name = "dump",
    .usage = "dump FILE.mdb [--password PWD]",
    .summary = "print the user tables as a JSON description",
    .run = dump,
});

}  // namespace
}  // namespace tessaro::tools
