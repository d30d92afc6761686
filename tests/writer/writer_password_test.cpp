// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <mdbtools.h>

#include <cstring>
#include <fstream>

#include "platform/catalogue/writer/catalogue_writer.h"
#include "platform/catalogue/writer/header_page.h"
#include "tests/support/temp_folder.h"
#include "tests/writer/description_builders.h"
#include "tests/writer/mdb_tools.h"

namespace tessaro::testing {
namespace {

using catalogue::ColumnType;
using catalogue::writeCatalogue;

const catalogue::CatalogueDescription OneTable{
    {table("Asanas", {column("name", ColumnType::Text)}, {{"Tadasana"}})}};

std::vector<std::uint8_t> unmaskedHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> page(2048);
    in.read(reinterpret_cast<char*>(page.data()), static_cast<std::streamsize>(page.size()));
    catalogue::jet3::maskHeaderArea(page);
    return page;
}

std::string storedPassword(const std::vector<std::uint8_t>& header) {
    const auto first = header.begin() + catalogue::jet3::PasswordOffset;
    return std::string(first, first + catalogue::jet3::MaxPasswordLength);
}

// libmdb decodes the header itself and keeps the first 14 password bytes.
std::string passwordAsMdbtoolsReadsIt(const std::string& path) {
    MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!mdb) {
        return "<cannot open>";
    }
    std::string password(mdb->f->db_passwd, sizeof(mdb->f->db_passwd));
    mdb_close(mdb);
    return password.substr(0, password.find('\0'));
}

TEST(WriterPasswordTest, StoresTheDatabasePasswordInTheMaskedHeader) {
    TempFolder folder;
    const auto path = (folder / "VUDuzu.mdb").string();
    writeCatalogue(OneTable, path, "Lark7meadOW");

    EXPECT_EQ(storedPassword(unmaskedHeader(path)),
              std::string("Lark7meadOW") + std::string(9, '\0'));
    EXPECT_EQ(passwordAsMdbtoolsReadsIt(path), "Lark7meadOW");
    // The raw page must not show it: Jet masks the area.
    EXPECT_EQ(fileContent(path).find("Lark7meadOW"), std::string::npos);
    EXPECT_EQ(mdbExport(path, "Asanas"), std::vector<ExportedRow>{{"Tadasana"}});
}

TEST(WriterPasswordTest, HeaderNamesJet3CodePage1252AndNoEncryption) {
    TempFolder folder;
    const auto path = (folder / "plain.mdb").string();
    writeCatalogue(OneTable, path);
    const auto header = unmaskedHeader(path);

    EXPECT_EQ(storedPassword(header), std::string(20, '\0'));
    EXPECT_EQ(header[0x14], 0) << "Jet 3";
    EXPECT_EQ(header[0x3C] | header[0x3D] << 8, 1252);
    EXPECT_EQ(header[0x3E] | header[0x3F] | header[0x40] | header[0x41], 0)
        << "a non-zero key would make readers decrypt every page";
    EXPECT_EQ(passwordAsMdbtoolsReadsIt(path), "");
}

TEST(WriterPasswordTest, TwentyCharactersAreStoredWholeAndWhatCannotBeStoredIsRefused) {
    TempFolder folder;
    const std::string longest = "ABCDEFGHIJklmnopqrsT";
    const auto path = (folder / "long.mdb").string();
    writeCatalogue(OneTable, path, longest);
    EXPECT_EQ(storedPassword(unmaskedHeader(path)), longest);

    // A zero character would end the stored password early: the file would refuse the
    // password it was written with.
    const struct {
        std::string password;
        std::string reason;
    } refusals[] = {{longest + "u", "at most 20 characters"},
                    {std::string("Lark7\0meadOW", 12), "zero character"},
                    {std::string(1, '\0'), "zero character"},
                    {"\u03a9", "code page 1252"}};
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.reason);
        const auto refused = (folder / "refused.mdb").string();
        try {
            writeCatalogue(OneTable, refused, refusal.password);
            ADD_FAILURE() << "the password was accepted";
        } catch (const Error& error) {
            EXPECT_EQ(error.text().rfind("password: ", 0), 0u) << error.text();
            EXPECT_NE(error.text().find(refusal.reason), std::string::npos) << error.text();
        }
        EXPECT_FALSE(std::filesystem::exists(refused));
    }
}

}  // namespace
}  // namespace tessaro::testing
