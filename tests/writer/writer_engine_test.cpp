// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <tessaro/catalogue.h>
#include "platform/catalogue/writer/catalogue_writer.h"
#include "tests/support/temp_folder.h"
#include "tests/writer/description_builders.h"

// Files the writer makes, read back through the catalogue engine as the control opens
// them: exclusive, read-only, with the control's connect string.
namespace tessaro::testing {
namespace {

using catalogue::CatalogueDescription;
using catalogue::ColumnType;

const std::string ControlConnect = ";PWD=Lark7meadOW;";

class WriterEngineTest : public ::testing::Test {
  protected:
    std::string write(const CatalogueDescription& description,
                      const std::string& password = "Lark7meadOW") {
        const std::string path = (folder_ / "VUDuzu.mdb").string();
        catalogue::writeCatalogue(description, path, password);
        return path;
    }

    static std::shared_ptr<catalogue::Database> open(const std::string& path,
                                                     const std::string& connect = ControlConnect) {
        return catalogue::processEngine().openDatabase(path, true, true, connect);
    }

    // Every row of the query, each value read through field() by column name.
    static std::vector<std::vector<Variant>> rowsOf(catalogue::Database& database,
                                                    const std::string& sql,
                                                    const std::vector<std::string>& columns) {
        auto recordset = database.openRecordset(sql);
        std::vector<std::vector<Variant>> rows;
        while (!recordset->eof()) {
            std::vector<Variant> row;
            for (const auto& name : columns) {
                row.push_back(recordset->field(name));
            }
            rows.push_back(std::move(row));
            recordset->moveNext();
        }
        return rows;
    }

    TempFolder folder_;
};

TEST_F(WriterEngineTest, EveryTypeNullAndEmptyTextReadBackAsTheyWereDescribed) {
    const std::string longMemo(5000, 'm');
    const std::string pageSizedMemo(2037, 'p');
    const CatalogueDescription description{{table(
        "Clips",
        {column("Filename", ColumnType::Text, 20), column("Action", ColumnType::Memo),
         column("StartPos", ColumnType::Integer), column("Size", ColumnType::Long),
         column("Filelen", ColumnType::Double), column("Done", ColumnType::Boolean)},
        {{"a", "short", -32768, std::int64_t{-2147483647} - 1, 2.25, 1},
         {"", "", 32767, std::int64_t{2147483647}, -0.1, 0},
         {Variant::null(), Variant::null(), Variant::null(), Variant::null(), Variant::null(), 0},
         {"z", longMemo, 1, 2, 3.0, 1},
         {"y", pageSizedMemo, 0, 0, 0.0, 0}})}};
    auto database = open(write(description));

    const auto rows = rowsOf(*database, "select * from Clips",
                             {"FILENAME", "action", "StartPos", "Size", "Filelen", "Done"});

    const Variant null = Variant::null();
    const std::vector<std::vector<Variant>> expected{
        {"a", "short", -32768, std::int64_t{-2147483647} - 1, 2.25, -1},
        {"", "", 32767, std::int64_t{2147483647}, -0.1, 0},
        {null, null, null, null, null, 0},
        {"z", longMemo, 1, 2, 3.0, -1},
        {"y", pageSizedMemo, 0, 0, 0.0, 0}};
    EXPECT_EQ(rows, expected);
}

TEST_F(WriterEngineTest, Latin1NamesMatchCaseBlindThroughTheLookupQuery) {
    const CatalogueDescription description{
        {table("Asanas",
               {column("name", ColumnType::Text), column("AsanaID", ColumnType::Long),
                column("Disp_Type", ColumnType::Text, 10)},
               {{"Tadasana", 1, "Video"}, {"Crème brûlée", 2, "Photo"}, {"Ñandú", 3, "Video"}})}};
    auto database = open(write(description));

    EXPECT_EQ(rowsOf(*database, R"(select * from Asanas where name = "CRÈME BRÛLÉE")",
                     {"name", "AsanaID"}),
              (std::vector<std::vector<Variant>>{{"Crème brûlée", 2}}));
    EXPECT_EQ(rowsOf(*database, R"(select * from asanas where NAME = "ñandú")", {"Disp_Type"}),
              (std::vector<std::vector<Variant>>{{"Video"}}));
}

TEST_F(WriterEngineTest, ManyPagesKeepRowOrderAndCount) {
    CatalogueDescription description{
        {table("Audio_Asana12",
               {column("Filename", ColumnType::Text), column("StartPos", ColumnType::Integer)})}};
    for (int i = 0; i < 4000; ++i) {
        description.tables[0].rows.push_back({"clip" + std::to_string(i), i});
    }
    auto database = open(write(description));

    auto recordset = database->openRecordset("select * from Audio_Asana12");
    recordset->moveLast();
    EXPECT_EQ(recordset->recordCount(), 4000);
    EXPECT_EQ(recordset->field("Filename"), Variant("clip3999"));
    recordset->moveFirst();
    for (int i = 0; i < 4000 && !recordset->eof(); ++i) {
        ASSERT_EQ(recordset->field("StartPos"), Variant(i));
        recordset->moveNext();
    }
    EXPECT_TRUE(recordset->eof());
}

TEST_F(WriterEngineTest, EachOfAThousandClipTablesOpensByItsAsanaNumber) {
    CatalogueDescription description;
    for (int id = 1; id <= 1000; ++id) {
        std::vector<std::vector<Variant>> rows;
        for (int clip = 0; clip < 20; ++clip) {
            rows.push_back({std::to_string(id) + "-" + std::to_string(clip), clip});
        }
        description.tables.push_back(table(
            "Audio_Asana" + std::to_string(id),
            {column("Filename", ColumnType::Text), column("StartPos", ColumnType::Integer)}, rows));
    }
    auto database = open(write(description));

    for (const int id : {1, 7, 512, 1000}) {
        auto recordset = database->openRecordset("select * from Audio_Asana" + std::to_string(id));
        recordset->moveLast();
        EXPECT_EQ(recordset->recordCount(), 20);
        EXPECT_EQ(recordset->field("Filename"), Variant(std::to_string(id) + "-19"));
    }
}

TEST_F(WriterEngineTest, ThePasswordIsCheckedLetterCaseCounting) {
    const CatalogueDescription description{
        {table("Asanas", {column("name", ColumnType::Text)}, {{"Tadasana"}})}};
    const auto path = write(description);

    const auto errorOf = [&](const std::string& connect) {
        try {
            open(path, connect)->close();
        } catch (const Error& error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(ControlConnect), 0);
    EXPECT_EQ(errorOf(";PWD=lark7meadow;"), catalogue::errors::NotValidPassword);
    EXPECT_EQ(errorOf(""), catalogue::errors::NotValidPassword);
}

TEST_F(WriterEngineTest, AFileWithoutPasswordOpensWhateverPwdSays) {
    const CatalogueDescription description{
        {table("Asanas", {column("name", ColumnType::Text)}, {{"Tadasana"}})}};
    const auto path = write(description, "");

    auto database = open(path, ";PWD=anything;");
    EXPECT_EQ(rowsOf(*database, "select * from Asanas", {"name"}),
              (std::vector<std::vector<Variant>>{{"Tadasana"}}));
}

}  // namespace
}  // namespace tessaro::testing
