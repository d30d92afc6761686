// SPDX-License-Identifier: MIT
// Arbitrary bytes as a catalogue file, opened as the engine opens it: without a password,
// and with the product's when the file asks for one. Every table is read whole through
// the reader, then through a recordset (every row and column) and a filtered query.
// Errors are tessaro::Error; anything else is a finding.
#include <cstdint>

#include <tessaro/catalogue.h>
#include "fuzz/scratch_file.h"
#include "platform/catalogue/catalogue_file.h"

namespace {

using namespace tessaro;

void readThroughRecordsets(catalogue::Database& database, const std::string& table) {
    auto recordset = database.openRecordset("select * from " + table);
    for (; !recordset->eof(); recordset->moveNext()) {
        for (const std::string& column : recordset->fieldNames())
            describe(recordset->field(column));
    }
    const std::vector<std::string> columns = recordset->fieldNames();
    if (!columns.empty())
        database.openRecordset("select * from " + table + " where " + columns[0] + " = \"1\"");
}

void readEveryTable(const std::string& path, const std::string& password) {
    // The file's reader, shared with the database opened below.
    const catalogue::CatalogueFile file(path, false, password);
    auto database =
        catalogue::processEngine().openDatabase(path, false, true, ";PWD=" + password + ";");
    for (const std::string& table : file.reader().userTables()) {
        try {
            file.reader().columns(table);
            file.reader().eachRow(table, std::nullopt, [](std::vector<Variant>&&) {});
            readThroughRecordsets(*database, table);
        } catch (const Error&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = tessaro::fuzzing::scratchFile("VUDuzu.mdb", data, size);
    try {
        readEveryTable(path, "");
    } catch (const Error& error) {
        if (error.number() == catalogue::errors::NotValidPassword) {
            try {
                readEveryTable(path, "Lark7meadOW");
            } catch (const Error&) {
            }
        }
    }
    return 0;
}
