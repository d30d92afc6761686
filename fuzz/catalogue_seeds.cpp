// SPDX-License-Identifier: MIT
// Writes the seed corpus of catalogue_read_fuzzer into the folder named by its argument:
// small catalogues from the project's writer covering what the reader meets (the
// lookup's tables, a password, memos kept in their row, in a row of their own and in a
// chain of rows, Yes/No columns only, an empty table, a table over several pages).
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/catalogue/writer/catalogue_writer.h"

using namespace tessaro;
using catalogue::CatalogueDescription;
using catalogue::ColumnType;

namespace {

CatalogueDescription course() {
    return {{{"Asanas",
              {{"name", ColumnType::Text, 100},
               {"AsanaID", ColumnType::Long},
               {"Disp_Type", ColumnType::Text, 10},
               {"VideoName", ColumnType::Text}},
              {{"Tadasana", 1, "Video", "Tadasana.mpg"}, {"Surya Namaskar", 2, "PHOTO", ""}}},
             {"Audio_Asana1",
              {{"Filename", ColumnType::Text},
               {"Action", ColumnType::Text},
               {"StartPos", ColumnType::Integer},
               {"EndPos", ColumnType::Integer},
               {"Filelen", ColumnType::Double}},
              {{"t1", "say", 0, 0, 2.5}, {"t2", "say", 50, 0, 1.5}}},
             {"Photo_Asana2",
              {{"Mp2name", ColumnType::Text}, {"ImageName", ColumnType::Text}},
              {{"s1", "s1.jpg"}, {"s2", "s2.jpg"}}}}};
}

CatalogueDescription memos() {
    return {{{"Notes",
              {{"Key", ColumnType::Long}, {"Text", ColumnType::Memo}, {"On", ColumnType::Boolean}},
              {{1, "kept in its row", 1},
               {2, std::string(1200, 'r'), 0},
               {3, std::string(5000, 'c'), 1},
               {4, Variant::null(), 0}}}}};
}

CatalogueDescription shapes() {
    std::vector<catalogue::ColumnDescription> flags;
    for (int i = 0; i < 20; ++i)
        flags.push_back({"f" + std::to_string(i), ColumnType::Boolean});
    std::vector<std::vector<Variant>> many;
    for (int i = 0; i < 300; ++i)
        many.push_back({"row " + std::to_string(i), i * 0.5});
    return {{{"Flags", flags, {std::vector<Variant>(20, 1), std::vector<Variant>(20, 0)}},
             {"Empty", {{"x", ColumnType::Text, 1}}, {}},
             {"Many", {{"name", ColumnType::Text}, {"Value", ColumnType::Double}}, many}}};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: catalogue_seeds FOLDER\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    catalogue::writeCatalogue(course(), (folder / "course.mdb").string(), "Lark7meadOW");
    catalogue::writeCatalogue(memos(), (folder / "memos.mdb").string());
    catalogue::writeCatalogue(shapes(), (folder / "shapes.mdb").string());
    return 0;
}
