// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <fstream>
#include <limits>
#include <span>

#include "platform/catalogue/catalogue_dump.h"
#include "platform/catalogue/jet_header_mask.h"
#include "platform/catalogue/writer/catalogue_writer.h"
#include "tests/catalogue/engine_test_support.h"

namespace tessaro::catalogue {
namespace {

using namespace testing;

constexpr std::size_t PageSize = 2048;
// Jet 3 layout: the header's version byte and its masked area; a table definition's
// kind, column count and usage map address; a data page's owner, row count and row
// offset table.
constexpr std::size_t VersionOffset = 0x14;
constexpr std::size_t MaskedStart = 0x18;
constexpr std::size_t Jet3MaskedBytes = 126;
constexpr std::size_t EncryptionKeyOffset = 0x3E;
constexpr std::size_t KindOffset = 20;
constexpr std::size_t ColumnCountOffset = 25;
constexpr std::size_t UsageMapOffset = 35;
constexpr std::size_t OwnerOffset = 4;
constexpr std::size_t RowCountOffset = 8;
constexpr std::size_t RowTableOffset = 10;
constexpr std::uint32_t SystemDefinitionPage = 2;
constexpr std::size_t WideColumns = 60;
// The rows of MSysObjects the writer stores: three containers, MSysObjects, then one
// for each table in the order described.
constexpr std::size_t WideCatalogueRow = 5;
const std::string Marker = "memo-marker";

// A catalogue file's bytes, patched in place and saved back.
class FileBytes {
  public:
    explicit FileBytes(fs::path file) : file_(std::move(file)) {
        std::ifstream in(file_, std::ios::binary);
        bytes_.assign(std::istreambuf_iterator<char>(in), {});
    }
    ~FileBytes() { std::ofstream(file_, std::ios::binary).write(bytes_.data(), bytes_.size()); }

    std::uint16_t u16(std::size_t at) const {
        std::uint16_t value = 0;
        std::memcpy(&value, bytes_.data() + at, sizeof value);
        return value;
    }
    std::uint32_t u32(std::size_t at) const {
        std::uint32_t value = 0;
        std::memcpy(&value, bytes_.data() + at, sizeof value);
        return value;
    }
    std::span<std::uint8_t> span(std::size_t at, std::size_t count) {
        return std::span(reinterpret_cast<std::uint8_t*>(bytes_.data()) + at, count);
    }
    std::size_t size() const { return bytes_.size(); }
    void put16(std::size_t at, std::uint16_t value) { std::memcpy(&bytes_[at], &value, 2); }
    void put32(std::size_t at, std::uint32_t value) { std::memcpy(&bytes_[at], &value, 4); }
    void put(std::size_t at, std::string_view bytes) { bytes_.replace(at, bytes.size(), bytes); }
    std::size_t find(const std::string& text) const { return bytes_.find(text); }

    // The first page of the type (0x01 data, 0x02 table definition) that passes.
    std::size_t page(std::uint8_t type, const std::function<bool(std::size_t)>& passes) const {
        for (std::size_t at = PageSize * 3; at < bytes_.size(); at += PageSize) {
            if (static_cast<std::uint8_t>(bytes_[at]) == type && passes(at))
                return at;
        }
        throw std::runtime_error("no such page");
    }
    std::size_t definitionOf(std::size_t columns) const {
        return page(2, [&](std::size_t at) {
            return static_cast<std::uint8_t>(bytes_[at + ColumnCountOffset]) == columns;
        });
    }
    std::size_t dataOf(std::size_t columns) const {
        return dataOfDefinition(definitionOf(columns) / PageSize);
    }
    std::size_t dataOfDefinition(std::size_t definition) const {
        return page(1, [&](std::size_t at) { return u32(at + OwnerOffset) == definition; });
    }
    // Where the Id of a table's row in MSysObjects lies: after the row's column count.
    std::size_t catalogueId(std::size_t row) const {
        const std::size_t page = dataOfDefinition(SystemDefinitionPage);
        return page + (u16(page + RowTableOffset + 2 * row) & 0x1fff) + 1;
    }

  private:
    fs::path file_;
    std::string bytes_;
};

struct DamageCase {
    const char* what;
    std::function<void(FileBytes&)> damage;
    std::vector<std::string> named;  // parts the error text must hold
};

void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.what;
}

void memoHeader(FileBytes& file, std::uint32_t lengthAndKind, std::uint32_t address) {
    const std::size_t header = file.find(Marker) - 12;
    file.put32(header, lengthAndKind);
    file.put32(header + 4, address);
}

// Encrypts every page after the header as Access does: RC4 keyed with the header's key
// XOR the page number.
void encrypt(FileBytes& file, std::uint32_t key) {
    const auto header = file.span(MaskedStart, Jet3MaskedBytes);
    maskJetHeader(header);
    std::memcpy(&header[EncryptionKeyOffset - MaskedStart], &key, sizeof key);
    maskJetHeader(header);
    for (std::uint32_t page = 1; page < file.size() / PageSize; ++page) {
        const std::uint32_t pageKey = key ^ page;
        applyRc4(std::span(reinterpret_cast<const std::uint8_t*>(&pageKey), sizeof pageKey),
                 file.span(page * PageSize, PageSize));
    }
}

const DamageCase damageCases[] = {
    {"a memo length past the file",
     [](FileBytes& f) { memoHeader(f, 0x80000000 | 0x3fffffff, 0); },
     {"table 'Asanas'", "column 'Notes'", "memo length 1073741823"}},
    {"a memo length beyond its bytes",
     [](FileBytes& f) { memoHeader(f, 0x80000000 | 400, 0); },
     {"column 'Notes'", "memo length 400 differs"}},
    {"a memo in a page past the end",
     [](FileBytes& f) { memoHeader(f, 0x40000000 | 16, 5000 << 8); },
     {"column 'Notes'", "page 5000"}},
    {"an empty memo chain",
     [](FileBytes& f) { memoHeader(f, 0, 0); },
     {"column 'Notes'", "chain is empty"}},
    {"a memo chain cut short",
     [](FileBytes& f) { memoHeader(f, 16, 0); },
     {"column 'Notes'", "ends after 0 of 16 bytes"}},
    {"a column count past Jet's",
     [](FileBytes& f) { f.put16(f.definitionOf(3) + ColumnCountOffset, 300); },
     {"table 'Asanas'", "300 columns"}},
    {"a usage map past the end",
     [](FileBytes& f) { f.put32(f.definitionOf(3) + UsageMapOffset, 5000 << 8); },
     {"table 'Asanas'", "page 5000"}},
    {"more rows than the page holds",
     [](FileBytes& f) { f.put16(f.dataOf(3) + RowCountOffset, 1200); },
     {"table 'Asanas'", "lists more rows than it holds"}},
    {"a row outside its page",
     [](FileBytes& f) { f.put16(f.dataOf(3) + RowTableOffset, 0x1fff); },
     {"table 'Asanas'", "row 0 of page", "lies outside it"}},
    {"a value outside its row",
     [](FileBytes& f) {
         // Column count, AsanaID, the offsets of the variable columns from the last (the
         // end of their data) back to the first (name, at 240 in a row of 10 bytes), their
         // count and the null mask.
         const std::size_t page = f.dataOf(3);
         f.put16(page + RowTableOffset, static_cast<std::uint16_t>(PageSize - 10));
         f.put(page + PageSize - 10, std::string_view("\x03\0\0\0\0\x05\x05\xf0\x02\x07", 10));
     },
     {"table 'Asanas'", "column 'name'", "outside its row"}},
    {"more values than the page can store",
     [](FileBytes& f) {
         // 280 one-byte rows of 60 columns: 16,800 values in a page of 2,048 bytes.
         const std::size_t page = f.dataOf(WideColumns);
         f.put16(page + RowCountOffset, 280);
         for (std::uint16_t row = 0; row < 280; ++row)
             f.put16(page + RowTableOffset + 2 * row, static_cast<std::uint16_t>(2047 - row));
     },
     {"table 'Wide'", "holds more values than fit in it"}},
    {"a data page zeroed",
     [](FileBytes& f) { f.put(f.dataOf(3), std::string(PageSize, '\0')); },
     {"table 'Asanas'", "its usage map names page", "which holds no rows of it"}},
    {"a data page of another table",
     [](FileBytes& f) {
         f.put32(f.dataOf(3) + OwnerOffset,
                 static_cast<std::uint32_t>(f.definitionOf(1) / PageSize));
     },
     {"table 'Asanas'", "which holds no rows of it"}},
    {"fewer rows than the definition counts",
     [](FileBytes& f) { f.put16(f.dataOf(3) + RowCountOffset, 0); },
     {"table 'Asanas'", "its data pages hold 0 rows, its definition counts 1"}},
    {"table names that differ only in letter case",
     [](FileBytes& f) { f.put(f.find("Xsanas"), "ASANAS"); },
     {"table 'ASANAS'", "table 'Asanas' has the same name, letter case aside"}},
    {"a user table defined on the system table's page",
     [](FileBytes& f) { f.put32(f.catalogueId(WideCatalogueRow), SystemDefinitionPage); },
     {"table 'Wide'", "its definition page 2 is that of table 'MSysObjects'"}},
    {"two tables defined on one page",
     [](FileBytes& f) {
         f.put32(f.catalogueId(WideCatalogueRow),
                 static_cast<std::uint32_t>(f.definitionOf(3) / PageSize));
     },
     {"table 'Wide'", "is that of table 'Asanas'"}},
    {"a user table whose definition is of a system table's kind",
     [](FileBytes& f) { f.put(f.definitionOf(3) + KindOffset, "S"); },
     {"table 'Asanas'", "is no user table's"}},
    {"a Jet 3 file whose version byte says Jet 4",
     [](FileBytes& f) { f.put(VersionOffset, "\x01"); },
     {"its header says Jet 4, but its pages are Jet 3's"}},
    {"an encrypted Jet 3 file whose version byte says Jet 4",
     [](FileBytes& f) {
         encrypt(f, 0x5a17c0de);
         f.put(VersionOffset, "\x01");
     },
     {"its header says Jet 4, but its pages are Jet 3's"}},
};

class EngineDamageTest : public ::testing::TestWithParam<DamageCase> {
  protected:
    fs::path writeDamaged() {
        std::vector<ColumnDescription> wide;
        for (std::size_t i = 0; i < WideColumns; ++i)
            wide.push_back({"b" + std::to_string(i), ColumnType::Boolean});
        const fs::path file = folder_.path() / "VUDuzu.mdb";
        writeCatalogue({{{"Asanas",
                          {{"name", ColumnType::Text, 50},
                           {"AsanaID", ColumnType::Long},
                           {"Notes", ColumnType::Memo}},
                          {{"Tadasana", 1, Marker}}},
                         {"Wide", wide, {std::vector<Variant>(WideColumns, 1)}},
                         {"Xsanas", {{"name", ColumnType::Text, 50}}, {{"Other"}}}}},
                       file.string());
        FileBytes bytes(file);
        GetParam().damage(bytes);
        return file;
    }

    TempFolder folder_;
};

TEST_P(EngineDamageTest, IsError3343NamingWhereItLies) {
    const fs::path file = writeDamaged();
    for (const char* table : {"Asanas", "Wide"}) {
        try {
            openShared(file)->openRecordset(std::string("select * from ") + table);
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), errors::UnrecognizedDatabaseFormat) << error.text();
            for (const std::string& part : GetParam().named)
                EXPECT_NE(error.text().find(part), std::string::npos) << error.text();
            return;
        }
    }
    FAIL() << "both tables read";
}

INSTANTIATE_TEST_SUITE_P(Damages, EngineDamageTest, ::testing::ValuesIn(damageCases));

// A recordset reads its rows again when asked for them: a row whose page was overwritten
// since the query is damage, never a value of something else.
TEST(EngineRecordsetTest, RowGoneFromItsPageSinceTheQueryIs3343WhenRead) {
    TempFolder folder;
    const fs::path file = folder.path() / "VUDuzu.mdb";
    writeCatalogue({{{"Asanas", {{"name", ColumnType::Text, 50}}, {{"Tadasana"}}},
                     {"Other", {{"name", ColumnType::Text, 50}}, {{"x"}}}}},
                   file.string());
    const auto database = openShared(file);
    const auto asanas = database->openRecordset("select * from Asanas");
    {
        FileBytes bytes(file);
        bytes.put(bytes.dataOf(1), std::string_view("\x02", 1));
    }
    // Reads other pages, so that the reader's last page is not the one overwritten.
    database->openRecordset("select * from Other");

    try {
        asanas->field("name");
        ADD_FAILURE() << "read";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errors::UnrecognizedDatabaseFormat);
        EXPECT_NE(error.text().find("no longer holds row 0"), std::string::npos) << error.text();
    }
}

// The inputs that once made the reader allocate gigabytes, read past a buffer, convert an
// out-of-range date, or read a damaged file as sound; every reader of the project gives
// 3343 for them, naming the damage.
TEST(EngineRegressionInputTest, EveryInputIs3343ForOpenQueryAndDump) {
    const struct {
        const char* name;
        const char* named;
    } inputs[] = {
        {"catalogue-jet4-creation-date-float-cast.mdb", "creation date is no date"},
        {"catalogue-memo-length-unbounded-alloc.mdb", "table 'Big'"},
        {"catalogue-memo-unterminated-text-overread.mdb", "table 'Big'"},
        {"catalogue-table-names-differ-only-in-case.mdb",
         "table 'AUDIO_ASANA1': table 'Audio_Asana1' has the same name, letter case aside"},
        {"catalogue-data-page-zeroed.mdb",
         "table 'Big': its usage map names page 6, which holds no rows of it"},
        {"catalogue-user-table-on-system-definition.mdb",
         "table 'Audio_Asana1': its definition page 2 is that of table 'MSysObjects'"},
        {"catalogue-jet4-version-byte-says-jet3.mdb",
         "its header says Jet 3, but its pages are Jet 4's"},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.name);
        const fs::path file = RegressionInputs / input.name;
        for (const auto& read : std::vector<std::function<void()>>{
                 [&] { dumpCatalogue(file.string(), ""); },
                 [&] { openShared(file)->openRecordset("select * from Big"); }}) {
            try {
                read();
                ADD_FAILURE() << "read";
            } catch (const Error& error) {
                EXPECT_EQ(error.number(), errors::UnrecognizedDatabaseFormat) << error.text();
                EXPECT_NE(error.text().find(input.named), std::string::npos) << error.text();
            }
        }
    }
}

// A Jet 4 file read as Jet 3 would hand back its password as noise.
TEST(EngineHeaderVersionTest, Jet4FileWhoseVersionByteSaysJet3Is3343NotAWrongPassword) {
    TempFolder folder;
    const fs::path file = copyOf("jet4/V2000_with-password.mdb", folder / "VUDuzu.mdb");
    FileBytes(file).put(VersionOffset, std::string_view("\0", 1));
    try {
        openShared(file, ";PWD=password;");
        ADD_FAILURE() << "opened";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errors::UnrecognizedDatabaseFormat);
        EXPECT_NE(error.text().find("its header says Jet 3, but its pages are Jet 4's: the "
                                    "system table is defined on page 2 of 4096 bytes"),
                  std::string::npos)
            << error.text();
    }
}

// Encrypted pages are read through their key, and hide nothing from the checks.
TEST(EngineHeaderVersionTest, EncryptedFileReads) {
    TempFolder folder;
    const fs::path file = folder.path() / "VUDuzu.mdb";
    writeCatalogue({{{"Asanas", {{"name", ColumnType::Text, 50}}, {{"Tadasana"}}}}}, file.string());
    {
        FileBytes bytes(file);
        encrypt(bytes, 0x5a17c0de);
    }
    const auto rs = openShared(file)->openRecordset("select * from Asanas");
    EXPECT_EQ(rs->field("name"), Variant("Tadasana"));
}

TEST(EngineHeaderDateTest, Jet4CreationDateThatIsNoDateIs3343) {
    constexpr std::size_t MaskedStart = 0x18;
    constexpr std::size_t CreationDate = 0x72;
    for (const double date : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(), 3e6}) {
        SCOPED_TRACE(date);
        TempFolder folder;
        const fs::path file = copyOf("jet4/V2000_with-password.mdb", folder / "VUDuzu.mdb");
        std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
        std::array<std::uint8_t, 128> masked{};
        stream.seekg(MaskedStart);
        stream.read(reinterpret_cast<char*>(masked.data()), masked.size());
        maskJetHeader(masked);
        std::memcpy(&masked[CreationDate - MaskedStart], &date, sizeof date);
        maskJetHeader(masked);
        stream.seekp(MaskedStart);
        stream.write(reinterpret_cast<const char*>(masked.data()), masked.size());
        stream.close();
        try {
            openShared(file, ";PWD=password;");
            ADD_FAILURE() << "opened";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), errors::UnrecognizedDatabaseFormat);
            EXPECT_NE(error.text().find("creation date"), std::string::npos) << error.text();
        }
    }
}

}  // namespace
}  // namespace tessaro::catalogue
