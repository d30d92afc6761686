// Arbitrary bytes as a catalogue file: opened with and without the product's password,
// every table read whole through the reader and through a recordset, every row and
// column of it. Errors are tessaro::Error; anything else is a finding.
#include <cstdint>

#include "fuzz/scratch_file.h"
#include "platform/catalogue/catalogue.h"
#include "platform/catalogue/mdb_reading.h"

namespace {

using namespace tessaro;

void readThroughRecordsets(const std::string& path, const std::string& connect,
                           const std::vector<std::string>& tables) {
    try {
        auto database = catalogue::processEngine().openDatabase(path, true, true, connect);
        for (const std::string& table : tables) {
            try {
                auto recordset = database->openRecordset("select * from " + table);
                for (; !recordset->eof(); recordset->moveNext()) {
                    for (const std::string& column : recordset->fieldNames())
                        describe(recordset->field(column));
                }
                const std::vector<std::string> columns = recordset->fieldNames();
                if (!columns.empty())
                    database->openRecordset("select * from " + table + " where " + columns[0] +
                                            " = \"1\"");
            } catch (const Error&) {
            }
        }
    } catch (const Error&) {
    }
}

std::vector<std::string> readEveryTable(const std::string& path) {
    try {
        catalogue::MdbReader reader(path, path);
        const std::vector<std::string> tables = reader.userTables();
        for (const std::string& table : tables) {
            try {
                reader.columns(table);
                reader.rows(table, std::nullopt);
            } catch (const Error&) {
            }
        }
        return tables;
    } catch (const Error&) {
        return {};
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = tessaro::fuzzing::scratchFile("VUDuzu.mdb", data, size);
    const std::vector<std::string> tables = readEveryTable(path);
    for (const char* connect : {"", ";PWD=Lark7meadOW;"})
        readThroughRecordsets(path, connect, tables);
    return 0;
}
