// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>

#include "platform/catalogue/writer/catalogue_description_json.h"
#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#include "tests/writer/description_builders.h"

namespace tessaro::testing {
namespace {

using catalogue::ColumnType;

struct BadDescription {
    const char* what;
    std::string json;
    std::vector<std::string> messageParts;  // each must appear in the error text
};

const BadDescription BadDescriptions[] = {
    {"malformed JSON", R"({"tables":[)", {"not valid JSON"}},
    {"no tables", R"({"table":[]})", {"\"tables\" is missing"}},
    {"unknown type",
     R"({"tables":[{"name":"Asanas","columns":[{"name":"when","type":"date"}],"rows":[]}]})",
     {"table \"Asanas\"", "column \"when\"", "unknown type \"date\""}},
    {"row of the wrong length",
     R"({"tables":[{"name":"Asanas","columns":[{"name":"name","type":"text"},
        {"name":"AsanaID","type":"long"}],"rows":[["a",1],["b"]]}]})",
     {"table \"Asanas\"", "row 2", "1 values for 2 columns"}},
    {"text longer than its size",
     R"({"tables":[{"name":"Asanas","columns":[{"name":"name","type":"text","size":5}],
        "rows":[["Tadasana"]]}]})",
     {"table \"Asanas\"", "row 1", "column \"name\"", "8 characters", "size 5"}},
    {"integer out of range",
     R"({"tables":[{"name":"Audio_Asana1","columns":[{"name":"StartPos","type":"integer"}],
        "rows":[[1],[32768]]}]})",
     {"table \"Audio_Asana1\"", "row 2", "column \"StartPos\"", "out of range"}},
    {"integer below range",
     R"({"tables":[{"name":"T","columns":[{"name":"I","type":"integer"}],"rows":[[-32769]]}]})",
     {"row 1", "column \"I\"", "out of range"}},
    {"long out of range",
     R"({"tables":[{"name":"T","columns":[{"name":"L","type":"long"}],"rows":[[2147483648]]}]})",
     {"row 1", "column \"L\"", "out of range"}},
    {"huge unsigned number",
     R"({"tables":[{"name":"T","columns":[{"name":"L","type":"long"}],
        "rows":[[18446744073709551615]]}]})",
     {"row 1", "column \"L\"", "out of range"}},
    {"fraction in a long column",
     R"({"tables":[{"name":"T","columns":[{"name":"L","type":"long"}],"rows":[[1.5]]}]})",
     {"column \"L\"", "whole numbers"}},
    {"text in a number column",
     R"({"tables":[{"name":"T","columns":[{"name":"D","type":"double"}],"rows":[["7"]]}]})",
     {"column \"D\"", "takes a number"}},
    {"number in a text column",
     R"({"tables":[{"name":"T","columns":[{"name":"S","type":"text"}],"rows":[[7]]}]})",
     {"column \"S\"", "takes text"}},
    {"null in a boolean column",
     R"({"tables":[{"name":"T","columns":[{"name":"B","type":"boolean"}],"rows":[[null]]}]})",
     {"column \"B\"", "cannot hold null"}},
    {"array as a value",
     R"({"tables":[{"name":"T","columns":[{"name":"S","type":"text"}],"rows":[[["x"]]]}]})",
     {"row 1", "column \"S\""}},
    {"text size zero",
     R"({"tables":[{"name":"T","columns":[{"name":"S","type":"text","size":0}],"rows":[]}]})",
     {"column \"S\"", "1 to 255"}},
    {"text size above 255",
     R"({"tables":[{"name":"T","columns":[{"name":"S","type":"text","size":256}],"rows":[]}]})",
     {"column \"S\"", "1 to 255"}},
    {"character outside code page 1252",
     R"({"tables":[{"name":"T","columns":[{"name":"S","type":"text"}],"rows":[["Śavāsana"]]}]})",
     {"row 1", "column \"S\"", "code page 1252"}},
    {"two tables differing only in letter case",
     R"({"tables":[{"name":"Asanas","columns":[{"name":"a","type":"long"}],"rows":[]},
        {"name":"ASANAS","columns":[{"name":"a","type":"long"}],"rows":[]}]})",
     {"table \"ASANAS\"", "used twice"}},
    {"a table named like the system catalogue",
     R"({"tables":[{"name":"msysobjects","columns":[{"name":"a","type":"long"}],"rows":[]}]})",
     {"table \"msysobjects\"", "used twice"}},
    {"two columns with one name",
     R"({"tables":[{"name":"T","columns":[{"name":"a","type":"long"},
        {"name":"A","type":"text"}],"rows":[]}]})",
     {"table \"T\"", "column \"A\"", "used twice"}},
    {"table without columns",
     R"({"tables":[{"name":"T","columns":[],"rows":[]}]})",
     {"table \"T\"", "at least one column"}},
    {"empty table name",
     R"({"tables":[{"name":"","columns":[{"name":"a","type":"long"}],"rows":[]}]})",
     {"table \"\"", "1..64 characters"}},
    {"row longer than a page",
     R"({"tables":[{"name":"T","columns":[{"name":"a","type":"text","size":255},
        {"name":"b","type":"text","size":255},{"name":"c","type":"text","size":255},
        {"name":"d","type":"text","size":255},{"name":"e","type":"text","size":255},
        {"name":"f","type":"text","size":255},{"name":"g","type":"text","size":255},
        {"name":"h","type":"text","size":255},{"name":"i","type":"text","size":255}],
        "rows":[[")" +
         std::string(255, 'x') + R"(",")" + std::string(255, 'x') + R"(",")" +
         std::string(255, 'x') + R"(",")" + std::string(255, 'x') + R"(",")" +
         std::string(255, 'x') + R"(",")" + std::string(255, 'x') + R"(",")" +
         std::string(255, 'x') + R"(",")" + std::string(255, 'x') + R"(",")" +
         std::string(255, 'x') + R"("]]}]})",
     {"table \"T\"", "row 1", "longer than a page"}},
};

void PrintTo(const BadDescription& bad, std::ostream* out) {
    *out << bad.what;
}

class BadInputTest : public ::testing::TestWithParam<BadDescription> {};

std::string tool() {
    return TESSARO_CATALOGUE_TOOL;
}

TEST_P(BadInputTest, BuildNamesTheFaultExitsOneAndLeavesNoFile) {
    const auto& bad = GetParam();
    TempFolder folder;
    std::ofstream(folder / "description.json") << bad.json;
    const auto output = (folder / "out.mdb").string();

    const auto result = runProcess({tool(), "build", folder / "description.json", output});

    EXPECT_EQ(result.exitCode, 1) << bad.what;
    for (const auto& part : bad.messageParts) {
        EXPECT_NE(result.err.find(part), std::string::npos)
            << bad.what << ": \"" << part << "\" missing from: " << result.err;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
        << bad.what << ": a file was left behind";
}

INSTANTIATE_TEST_SUITE_P(Descriptions, BadInputTest, ::testing::ValuesIn(BadDescriptions),
                         [](const ::testing::TestParamInfo<BadDescription>& info) {
                             std::string name = info.param.what;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

TEST(BadInputTest, AFailedBuildLeavesAnEarlierFileUntouched) {
    TempFolder folder;
    const auto output = (folder / "out.mdb").string();
    std::ofstream(output) << "earlier";
    std::ofstream(folder / "bad.json")
        << R"({"tables":[{"name":"T","columns":[{"name":"I","type":"integer"}],"rows":[[99999]]}]})";

    EXPECT_EQ(runProcess({tool(), "build", folder / "bad.json", output}).exitCode, 1);

    EXPECT_EQ(fileContent(output), "earlier");
}

TEST(BadInputTest, AnUnwritableFolderFailsWithoutLeavingATemporaryFile) {
    TempFolder folder;
    const catalogue::CatalogueDescription description{
        {table("T", {column("a", ColumnType::Long)}, {{1}})}};
    try {
        catalogue::writeCatalogue(description, folder / "missing/out.mdb");
        FAIL() << "writing into a missing folder succeeded";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), catalogue::errors::CatalogueWriteFailed);
        EXPECT_NE(error.text().find("missing/out.mdb"), std::string::npos) << error.text();
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 0);
}

TEST(BadInputTest, WriterRefusesAnEmptyValueAndNamesItsPlace) {
    TempFolder folder;
    const catalogue::CatalogueDescription description{
        {table("Asanas", {column("name", ColumnType::Text), column("AsanaID", ColumnType::Long)},
               {{"a", 1}, {"b", Variant()}})}};
    try {
        catalogue::writeCatalogue(description, folder / "out.mdb");
        FAIL() << "an empty value was written";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), catalogue::errors::InvalidCatalogueDescription);
        EXPECT_EQ(error.text().rfind("table \"Asanas\", row 2, column \"AsanaID\": ", 0), 0u)
            << error.text();
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out.mdb"));
}

TEST(BadInputTest, TextThatIsNoUtf8OrLeavesCodePage1252IsRefused) {
    const std::string badTexts[] = {
        "caf\xC3",           // sequence cut short
        "\xC0\xAF",          // overlong form of '/'
        "\xFF",              // no UTF-8 lead byte
        "\xE2\x82",          // cut short before its last byte
        "\xC2\x81",          // U+0081: a control the code page leaves out
        "\xF0\x9F\x99\x82",  // outside the code page
    };
    TempFolder folder;
    for (const auto& bad : badTexts) {
        const catalogue::CatalogueDescription description{
            {table("T", {column("S", ColumnType::Text)}, {{"ok"}, {bad}})}};
        try {
            catalogue::writeCatalogue(description, folder / "out.mdb");
            ADD_FAILURE() << "accepted " << ::testing::PrintToString(bad);
        } catch (const Error& error) {
            EXPECT_NE(error.text().find("row 2, column \"S\""), std::string::npos) << error.text();
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "out.mdb"));
}

}  // namespace
}  // namespace tessaro::testing
