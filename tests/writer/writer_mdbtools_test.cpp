// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/catalogue/writer/catalogue_writer.h"
#include "tests/support/temp_folder.h"
#include "tests/writer/description_builders.h"
#include "tests/writer/mdb_tools.h"

// Files the writer makes must read back identically through mdbtools' own tools, which
// know nothing of the writer.
namespace tessaro::testing {
namespace {

using catalogue::CatalogueDescription;
using catalogue::ColumnType;
using catalogue::writeCatalogue;

class WriterMdbtoolsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // mdbtools must decode text through the code page the file names.
        ::unsetenv("MDB_JET3_CHARSET");
        ::unsetenv("MDBICONV");
    }

    std::string write(const CatalogueDescription& description) {
        const std::string path = (folder_ / "catalogue.mdb").string();
        writeCatalogue(description, path);
        return path;
    }

    TempFolder folder_;
};

std::optional<std::string> text(const std::string& value) {
    return value;
}

// mdb-export prints an empty text exactly as it prints a null.
std::optional<std::string> exported(const std::string& value) {
    return value.empty() ? std::nullopt : std::optional<std::string>(value);
}

TEST_F(WriterMdbtoolsTest, OneTableOfTextAndLongReadsBackAsJet3) {
    const auto path = write({{table(
        "Asanas", {column("name", ColumnType::Text, 50), column("AsanaID", ColumnType::Long)},
        {{"Tadasana", 1}, {Variant::null(), 2}})}});

    EXPECT_EQ(mdbVersion(path), "JET3");
    EXPECT_EQ(mdbTables(path), std::vector<std::string>{"Asanas"});
    EXPECT_EQ(mdbExport(path, "Asanas"),
              (std::vector<ExportedRow>{{text("Tadasana"), text("1")}, {std::nullopt, text("2")}}));
}

TEST_F(WriterMdbtoolsTest, EveryColumnTypeAndNullReadsBack) {
    const auto path = write({{table(
        "Clips",
        {column("Filename", ColumnType::Text, 20), column("Notes", ColumnType::Memo),
         column("StartPos", ColumnType::Integer), column("Size", ColumnType::Long),
         column("Filelen", ColumnType::Double), column("Done", ColumnType::Boolean)},
        {{"a", "first memo", -32768, -2147483647 - 1, -1.5, 1},
         {"", "", 32767, std::int64_t{2147483647}, 1e300, 0},
         {Variant::null(), Variant::null(), Variant::null(), Variant::null(), Variant::null(), -1},
         {"z", "x", 0, 0, 0.1, 0}})}});

    const auto rows = mdbExport(path, "Clips");

    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (ExportedRow{text("a"), text("first memo"), text("-32768"),
                                    text("-2147483648"), text("-1.5"), text("1")}));
    EXPECT_EQ(rows[1][0], exported(""));
    EXPECT_EQ(rows[1][1], exported(""));
    EXPECT_EQ(rows[1][2], text("32767"));
    EXPECT_EQ(rows[1][3], text("2147483647"));
    EXPECT_DOUBLE_EQ(std::stod(rows[1][4].value()), 1e300);
    EXPECT_EQ(rows[1][5], text("0"));
    EXPECT_EQ(rows[2], (ExportedRow{std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                                    std::nullopt, text("1")}));
    EXPECT_DOUBLE_EQ(std::stod(rows[3][4].value()), 0.1);
}

TEST_F(WriterMdbtoolsTest, Latin1AndCodePage1252LettersReadBackAsTheSameText) {
    std::string letters;
    for (char32_t c = 0xC0; c <= 0xFF; ++c) {
        letters += static_cast<char>(0xC0 | (c >> 6));
        letters += static_cast<char>(0x80 | (c & 0x3F));
    }
    const std::string specials = "€ „Œœ™ – ’";
    const auto path = write({{table("Asanas", {column("name", ColumnType::Text, 100)},
                                    {{letters}, {specials}, {"Crème brûlée"}})}});

    EXPECT_EQ(mdbExport(path, "Asanas"),
              (std::vector<ExportedRow>{{letters}, {specials}, {"Crème brûlée"}}));
}

// Offsets in a row are single bytes; rows longer than 256 bytes need the jump table, with
// a dummy entry when the variable data ends just before a 256-byte boundary.
TEST_F(WriterMdbtoolsTest, RowsAroundEveryOffsetBoundaryReadBack) {
    CatalogueDescription description{
        {table("Wide", {column("A", ColumnType::Text, 255), column("B", ColumnType::Text, 255),
                        column("C", ColumnType::Long), column("D", ColumnType::Text, 255)})}};
    std::vector<ExportedRow> expected;
    for (int length = 0; length <= 255; length += 3) {
        const std::string a(static_cast<std::size_t>(length), 'a');
        const std::string b(static_cast<std::size_t>((length * 7) % 256), 'b');
        const std::string d(static_cast<std::size_t>(255 - length), 'd');
        description.tables[0].rows.push_back({a, b, length, d});
        expected.push_back({exported(a), exported(b), std::to_string(length), exported(d)});
        description.tables[0].rows.push_back({a, Variant::null(), length, b});
        expected.push_back({exported(a), std::nullopt, std::to_string(length), exported(b)});
    }

    EXPECT_EQ(mdbExport(write(description), "Wide"), expected);
}

TEST_F(WriterMdbtoolsTest, MemosOfEverySizeReadBack) {
    const std::size_t lengths[] = {0, 1, 300, 2000, 2036, 2037, 5000, 20000};
    CatalogueDescription description{
        {table("Notes", {column("N", ColumnType::Long), column("Text", ColumnType::Memo),
                         column("Tail", ColumnType::Text, 10)})}};
    std::vector<ExportedRow> expected;
    for (const std::size_t length : lengths) {
        std::string memo;
        for (std::size_t i = 0; i < length; ++i) {
            memo += static_cast<char>('a' + i % 26);
        }
        description.tables[0].rows.push_back({static_cast<std::int64_t>(length), memo, "end"});
        expected.push_back({std::to_string(length), exported(memo), "end"});
    }

    EXPECT_EQ(mdbExport(write(description), "Notes"), expected);
}

TEST_F(WriterMdbtoolsTest, ThousandsOfRowsSpanningManyPagesKeepTheirOrder) {
    CatalogueDescription description{
        {table("Audio_Asana7",
               {column("Filename", ColumnType::Text, 50), column("Action", ColumnType::Text, 100),
                column("StartPos", ColumnType::Integer), column("Filelen", ColumnType::Double)})}};
    std::vector<ExportedRow> expected;
    for (int i = 0; i < 5000; ++i) {
        const std::string name = "clip" + std::to_string(i);
        const std::string action(static_cast<std::size_t>(i % 100), 'x');
        description.tables[0].rows.push_back({name, action, i % 30000, i * 0.5});
        std::string length = std::to_string(i / 2);
        if (i % 2) {
            length += ".5";
        }
        expected.push_back({name, exported(action), std::to_string(i % 30000), length});
    }
    const auto path = write(description);

    EXPECT_GT(std::filesystem::file_size(path), 100u * 2048u);
    EXPECT_EQ(mdbExport(path, "Audio_Asana7"), expected);
}

// A standard usage map reaches the first 1024 pages; a bigger table needs a longer one.
TEST_F(WriterMdbtoolsTest, ATableOfMoreThanAThousandPagesReadsBackWhole) {
    CatalogueDescription description{{table(
        "Huge", {column("Filename", ColumnType::Text, 100), column("N", ColumnType::Long)})}};
    const std::string padding(90, 'x');
    for (int i = 0; i < 60000; ++i) {
        description.tables[0].rows.push_back({padding + std::to_string(i), i});
    }
    const auto path = write(description);
    ASSERT_GT(std::filesystem::file_size(path), 2048u * 2048u);

    const auto rows = mdbExport(path, "Huge");

    ASSERT_EQ(rows.size(), 60000u);
    for (const std::size_t i : {0u, 1023u, 30000u, 59999u}) {
        EXPECT_EQ(rows[i], (ExportedRow{padding + std::to_string(i), std::to_string(i)}));
    }
}

TEST_F(WriterMdbtoolsTest, AThousandTablesAreListedAndEachReadsBack) {
    CatalogueDescription description;
    description.tables.push_back(
        table("Asanas", {column("name", ColumnType::Text), column("AsanaID", ColumnType::Long)}));
    std::vector<std::string> expectedNames{"Asanas"};
    for (int id = 1; id <= 1000; ++id) {
        description.tables[0].rows.push_back({"Asana " + std::to_string(id), id});
        const std::string name = (id % 2 ? "Audio_Asana" : "Photo_Asana") + std::to_string(id);
        expectedNames.push_back(name);
        std::vector<std::vector<Variant>> rows;
        for (int clip = 0; clip < 20; ++clip) {
            rows.push_back({name + "_" + std::to_string(clip), clip * 25});
        }
        description.tables.push_back(table(
            name, {column("Filename", ColumnType::Text), column("StartPos", ColumnType::Integer)},
            rows));
    }
    const auto path = write(description);

    EXPECT_EQ(mdbTables(path), expectedNames);
    for (const int id : {1, 2, 500, 999, 1000}) {
        const auto& described = description.tables[static_cast<std::size_t>(id)];
        const auto rows = mdbExport(path, described.name);
        ASSERT_EQ(rows.size(), 20u) << described.name;
        EXPECT_EQ(rows[19], (ExportedRow{described.name + "_19", "475"}));
    }
    EXPECT_EQ(mdbExport(path, "Asanas").size(), 1000u);
}

TEST_F(WriterMdbtoolsTest, ATableWithoutRowsExportsNothing) {
    const auto path = write({{table("Photo_Asana3", {column("Mp2name", ColumnType::Text),
                                                     column("ImageName", ColumnType::Text)})}});

    EXPECT_EQ(mdbTables(path), std::vector<std::string>{"Photo_Asana3"});
    EXPECT_TRUE(mdbExport(path, "Photo_Asana3").empty());
}

TEST_F(WriterMdbtoolsTest, TheSameDescriptionGivesTheSameBytes) {
    const CatalogueDescription description{
        {table("Asanas", {column("name", ColumnType::Text)}, {{"Tadasana"}})}};
    const std::string first = (folder_ / "first.mdb").string();
    const std::string second = (folder_ / "second.mdb").string();
    writeCatalogue(description, first, "pw");
    writeCatalogue(description, second, "pw");

    EXPECT_EQ(fileContent(first), fileContent(second));
    EXPECT_EQ(fileContent(first).size() % 2048, 0u);
}

}  // namespace
}  // namespace tessaro::testing
