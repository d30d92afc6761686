// SPDX-License-Identifier: MIT
#include <iostream>
#include <nlohmann/json.hpp>

#include <tessaro/catalogue.h>
#include "tools/tessaro-catalogue/command_arguments.h"
#include "tools/tessaro-catalogue/command_registry.h"
#include "tools/tessaro-catalogue/value_json.h"

namespace tessaro::tools {
namespace {

using nlohmann::ordered_json;

// Opens the file as the control does (exclusive, read-only, the password in the connect
// text) and prints each row of the query's result as one JSON object.
void printQuery(const std::string& file, const std::string& sql, const std::string& password) {
    auto database =
        catalogue::processEngine().openDatabase(file, true, true, ";PWD=" + password + ";");
    auto recordset = database->openRecordset(sql);
    const std::vector<std::string> columns = recordset->fieldNames();
    for (; !recordset->eof(); recordset->moveNext()) {
        ordered_json row = ordered_json::object();
        for (const std::string& column : columns)
            row[column] = valueJson(recordset->field(column));
        std::cout << row.dump(-1, ' ', false, ordered_json::error_handler_t::replace) << "\n";
    }
}

int query(const std::vector<std::string>& args) {
    const auto parsed = parseCommandArguments(args, 2);
    if (!parsed) {
        std::cerr << "usage: tessaro-catalogue query FILE.mdb SQL [--password PWD]\n";
        return 1;
    }
    try {
        printQuery(parsed->positional[0], parsed->positional[1], parsed->password);
        return 0;
    } catch (const Error& error) {
        std::cerr << "error " << error.number() << ": " << error.text() << "\n";
        return 2;
    }
}

const CommandRegistration registration({
    .name = "query",
    .usage = "query FILE.mdb SQL [--password PWD]",
    .summary = "run one query and print one JSON object per row",
    .run = query,
});

}  // namespace
}  // namespace tessaro::tools
