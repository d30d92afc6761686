// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <limits>

#include "platform/catalogue/catalogue_dump.h"
#include "platform/catalogue/writer/catalogue_writer.h"
#include "tests/catalogue/engine_test_support.h"

namespace tessaro::catalogue {
namespace {

using namespace testing;

TableDescription asanaTable(std::vector<std::vector<Variant>> rows) {
    return {
        "Asanas", {{"name", ColumnType::Text, 50}, {"AsanaID", ColumnType::Long}}, std::move(rows)};
}

std::vector<std::vector<Variant>> allRows(Recordset& rs) {
    std::vector<std::vector<Variant>> rows;
    for (; !rs.eof(); rs.moveNext())
        rows.push_back(currentRow(rs));
    return rows;
}

class WriterRoundTripTest : public ::testing::Test {
  protected:
    fs::path write(const CatalogueDescription& description, const std::string& password = "") {
        const fs::path file = folder_.path() / ("catalogue" + std::to_string(++files_) + ".mdb");
        writeCatalogue(description, file.string(), password);
        return file;
    }

    TempFolder folder_;
    int files_ = 0;
};

TEST_F(WriterRoundTripTest, EveryColumnTypeWithNullsReadsBackAsUntypedValues) {
    const std::string longMemo(5000, 'm');
    const CatalogueDescription description{
        {{"Kinds",
          {{"Text", ColumnType::Text, 10},
           {"Memo", ColumnType::Memo},
           {"Integer", ColumnType::Integer},
           {"Long", ColumnType::Long},
           {"Double", ColumnType::Double},
           {"Boolean", ColumnType::Boolean}},
          {{"short", "memo text", -32768, std::numeric_limits<std::int32_t>::min(), -0.25, 1},
           {"", longMemo, 32767, std::numeric_limits<std::int32_t>::max(), 1e300, 0},
           {Variant::null(), Variant::null(), Variant::null(), Variant::null(), Variant::null(),
            0}}}}};
    auto rs = openExclusive(write(description))->openRecordset("select * from Kinds");
    const std::vector<std::vector<Variant>> expected{
        {"short", "memo text", -32768, std::numeric_limits<std::int32_t>::min(), -0.25, -1},
        {"", longMemo, 32767, std::numeric_limits<std::int32_t>::max(), 1e300, 0},
        {Variant::null(), Variant::null(), Variant::null(), Variant::null(), Variant::null(), 0}};
    EXPECT_EQ(allRows(*rs), expected);
}

TEST_F(WriterRoundTripTest, DumpGivesTheDescriptionBack) {
    const CatalogueDescription description{
        {asanaTable({{"Tadasana", 1},
                     {Variant::null(), 2},
                     {"Ürdhva Mukha", 3},
                     {std::string("zero\0inside", 11), 4}}),
         {"Audio_Asana1",
          {{"Filename", ColumnType::Text, 20},
           {"StartPos", ColumnType::Integer},
           {"Filelen", ColumnType::Double},
           {"Notes", ColumnType::Memo},
           {"Done", ColumnType::Boolean}},
          {{"clip1", 0, 2.5, "first", -1}, {"clip2", 120, 3.0, Variant::null(), 0}}},
         {"Empty", {{"x", ColumnType::Text, 1}}, {}},
         // Rows of a column count and a null mask only.
         {"Flags", {{"On", ColumnType::Boolean}}, {{-1}, {0}}}}};
    const CatalogueDescription back = dumpCatalogue(write(description).string(), "");
    ASSERT_EQ(back.tables.size(), description.tables.size());
    for (std::size_t t = 0; t < back.tables.size(); ++t) {
        const TableDescription& want = description.tables[t];
        const TableDescription& got = back.tables[t];
        SCOPED_TRACE(want.name);
        EXPECT_EQ(got.name, want.name);
        ASSERT_EQ(got.columns.size(), want.columns.size());
        for (std::size_t c = 0; c < got.columns.size(); ++c) {
            EXPECT_EQ(got.columns[c].name, want.columns[c].name);
            EXPECT_EQ(got.columns[c].type, want.columns[c].type);
            if (want.columns[c].type == ColumnType::Text) {
                EXPECT_EQ(got.columns[c].size, want.columns[c].size);
            }
        }
        EXPECT_EQ(got.rows, want.rows);
    }
}

TEST_F(WriterRoundTripTest, ThousandsOfRowsOverManyPagesKeepTheirOrder) {
    constexpr int Count = 5000;
    std::vector<std::vector<Variant>> rows;
    for (int i = 0; i < Count; ++i)
        rows.push_back({"Asana number " + std::to_string(i), i});
    auto database = openExclusive(write({{asanaTable(rows)}}));
    auto rs = database->openRecordset("select * from Asanas");
    rs->moveLast();
    EXPECT_EQ(rs->recordCount(), Count);
    rs->moveFirst();
    EXPECT_EQ(allRows(*rs), rows);
    auto last = database->openRecordset("select * from Asanas where name = \"ASANA NUMBER 4999\"");
    ASSERT_EQ(last->recordCount(), 1);
    EXPECT_EQ(last->field("AsanaID"), Variant(4999));
}

TEST_F(WriterRoundTripTest, TextMatchFoldsAsciiAndLatin1LettersOnly) {
    auto database = openExclusive(write({{asanaTable({{"Ärger", 1},
                                                      {"ÉTÉ", 2},
                                                      {"straße", 3},
                                                      {"naïve", 4},
                                                      {"say \"hi\"", 5},
                                                      {"Œuvre", 6}})}}));
    struct Case {
        std::string literal;
        std::vector<std::vector<Variant>> rows;
    };
    const Case cases[] = {
        {"ärger", {{"Ärger", 1}}},
        {"ÄRGER", {{"Ärger", 1}}},
        {"été", {{"ÉTÉ", 2}}},
        {"ETE", {}},
        {"STRASSE", {}},
        {"STRAßE", {{"straße", 3}}},
        {"NAÏVE", {{"naïve", 4}}},
        {"naive", {}},
        {"SAY \"\"HI\"\"", {{"say \"hi\"", 5}}},
        {"œuvre", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.literal);
        auto rs =
            database->openRecordset("select * from Asanas where name = \"" + c.literal + "\"");
        EXPECT_EQ(allRows(*rs), c.rows);
    }
}

TEST_F(WriterRoundTripTest, PerAsanaTablesAreFoundByTheirExactNumber) {
    CatalogueDescription description{{asanaTable({{"Tadasana", 7}})}};
    for (int n : {7, 70, 700})
        description.tables.push_back({"Audio_Asana" + std::to_string(n),
                                      {{"Filename", ColumnType::Text, 20}},
                                      {{"clip" + std::to_string(n)}}});
    auto database = openExclusive(write(description));
    EXPECT_EQ(database->openRecordset("select * from audio_asana7")->field("Filename"),
              Variant("clip7"));
    EXPECT_EQ(database->openRecordset("select * from Audio_Asana700")->field("filename"),
              Variant("clip700"));
    EXPECT_EQ(errorNumberOf([&] { database->openRecordset("select * from Audio_Asana07"); }),
              errors::TableNotFound);
}

TEST_F(WriterRoundTripTest, Jet3PasswordRightWrongAndNone) {
    const CatalogueDescription description{{asanaTable({{"Tadasana", 1}})}};
    const fs::path locked = write(description, "Lark7meadOW");
    EXPECT_EQ(openExclusive(locked, ";PWD=Lark7meadOW;")
                  ->openRecordset("select * from Asanas")
                  ->recordCount(),
              1);
    for (const char* connect : {";PWD=lark7meadow;", ";PWD=Lark7meadO;", ";PWD=;", ""}) {
        SCOPED_TRACE(connect);
        EXPECT_EQ(errorNumberOf([&] { openExclusive(locked, connect); }), errors::NotValidPassword);
    }
    EXPECT_EQ(errorNumberOf([&] { dumpCatalogue(locked.string(), "wrong"); }),
              errors::NotValidPassword);

    const fs::path open = write(description);
    for (const char* connect : {";PWD=Lark7meadOW;", ";PWD=other;", ""}) {
        SCOPED_TRACE(connect);
        EXPECT_NO_THROW(openExclusive(open, connect));
    }
}

}  // namespace
}  // namespace tessaro::catalogue
