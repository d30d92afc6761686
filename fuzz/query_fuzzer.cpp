// SPDX-License-Identifier: MIT
// Arbitrary text as a query of either shape, parsed and run on a small catalogue of the
// lookup's tables, every row and column of its result read.
#include <cstdint>
#include <string>

#include <tessaro/catalogue.h>
#include "fuzz/scratch_file.h"
#include "platform/catalogue/query_parser.h"
#include "platform/catalogue/writer/catalogue_writer.h"

namespace {

using namespace tessaro;
using catalogue::ColumnType;

std::shared_ptr<catalogue::Database> openCatalogue() {
    const std::string path = fuzzing::scratchFile("VUDuzu.mdb", nullptr, 0);
    catalogue::writeCatalogue({{{"Asanas",
                                 {{"name", ColumnType::Text, 100},
                                  {"AsanaID", ColumnType::Long},
                                  {"Disp_Type", ColumnType::Text, 10},
                                  {"VideoName", ColumnType::Text},
                                  {"Notes", ColumnType::Memo}},
                                 {{"Tadasana", 1, "Video", "Tadasana.mpg", std::string(3000, 'n')},
                                  {"Sírsásana", 2, "PHOTO", Variant::null(), "short"},
                                  {"say \"hi\"", -7, Variant::null(), "x.mpg", Variant::null()}}},
                                {"Audio_Asana1",
                                 {{"Filename", ColumnType::Text},
                                  {"StartPos", ColumnType::Integer},
                                  {"Filelen", ColumnType::Double},
                                  {"Done", ColumnType::Boolean}},
                                 {{"t1", 0, 1.5, 1}, {"t2", 50, 2.25, 0}}}}},
                              path, "Lark7meadOW");
    return catalogue::processEngine().openDatabase(path, false, true, ";PWD=Lark7meadOW;");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::shared_ptr<catalogue::Database> database = openCatalogue();
    const std::string sql(reinterpret_cast<const char*>(data), size);
    try {
        catalogue::parseQuery(sql);
    } catch (const Error&) {
    }
    try {
        auto recordset = database->openRecordset(sql);
        if (!recordset->eof()) {
            recordset->moveLast();
            recordset->moveFirst();
        }
        for (; !recordset->eof(); recordset->moveNext()) {
            for (const std::string& column : recordset->fieldNames())
                describe(recordset->field(column));
        }
    } catch (const Error&) {
    }
    return 0;
}
