// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>

#include "platform/catalogue/connect_string.h"
#include "tests/catalogue/engine_test_support.h"

namespace tessaro::catalogue {
namespace {

using namespace testing;

constexpr std::size_t Jet3PasswordOffset = 0x42;
constexpr std::size_t Jet3PasswordBytes = 20;

// Gives a copy of a password-free Jet 3 file the database password `bytes` (in the file's
// code page). A file without password stores only the header mask there, so the mask
// is whatever the file holds.
void storeJet3Password(const fs::path& file, const std::string& bytes) {
    std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
    std::string mask(Jet3PasswordBytes, '\0');
    stream.seekg(Jet3PasswordOffset);
    stream.read(mask.data(), static_cast<std::streamsize>(mask.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        mask[i] = static_cast<char>(mask[i] ^ bytes[i]);
    stream.seekp(Jet3PasswordOffset);
    stream.write(mask.data(), static_cast<std::streamsize>(mask.size()));
}

std::int64_t rowsOf(const std::shared_ptr<Database>& database, const std::string& table) {
    auto recordset = database->openRecordset("select * from " + table);
    return recordset->recordCount();
}

TEST(ConnectStringTest, FindsPwdLetterCaseKept) {
    EXPECT_EQ(connectPassword(";PWD=Lark7meadOW;"), "Lark7meadOW");
    EXPECT_EQ(connectPassword("pwd=a b;UID=admin"), "a b");
    EXPECT_EQ(connectPassword("UID=admin;Pwd=x=y;"), "x=y");
    EXPECT_EQ(connectPassword(";PWD=;"), "");
    EXPECT_EQ(connectPassword(""), "");
    EXPECT_EQ(connectPassword(";UID=admin;"), "");
}

TEST(EngineOpenTest, MissingFileIs3024NamingIt) {
    TempFolder folder;
    const fs::path missing = folder.path() / "hotspots" / "VUDuzu.mdb";
    try {
        openExclusive(missing);
        FAIL() << "opened a missing file";
    } catch (const Error& error) {
        EXPECT_EQ(error.number(), errors::FileNotFound);
        EXPECT_NE(error.text().find("VUDuzu.mdb"), std::string::npos) << error.text();
    }
}

TEST(EngineOpenTest, FilesThatAreNoJetDatabaseAre3343) {
    TempFolder folder;
    std::ofstream(folder.path() / "text.mdb") << "Standard Jet DB, but only in words\n";
    std::ofstream(folder.path() / "empty.mdb");
    const fs::path truncated = copyOf("access97/testV1997.mdb", folder / "truncated.mdb");
    fs::resize_file(truncated, 100);
    const fs::path unknownVersion = copyOf("access97/testV1997.mdb", folder / "version9.mdb");
    {
        std::fstream stream(unknownVersion, std::ios::in | std::ios::out | std::ios::binary);
        stream.seekp(0x14);
        stream.put('\x09');
    }
    fs::create_directory(folder.path() / "folder.mdb");
    for (const char* name :
         {"text.mdb", "empty.mdb", "truncated.mdb", "version9.mdb", "folder.mdb"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(errorNumberOf([&] { openExclusive(folder.path() / name); }),
                  errors::UnrecognizedDatabaseFormat);
    }
}

TEST(EngineOpenTest, TruncatedFileIs3343NeverAShorterTable) {
    TempFolder folder;
    for (const std::uintmax_t size : {16384u, 32768u, 65536u, 100000u}) {
        SCOPED_TRACE(size);
        const fs::path file = copyOf("access97/testV1997.mdb", folder / "truncated.mdb");
        fs::resize_file(file, size);
        EXPECT_EQ(errorNumberOf([&] {
                      auto database = openShared(file);
                      for (const char* table : {"Table1", "Table2", "Table3", "Table4"})
                          database->openRecordset(std::string("select * from ") + table);
                  }),
                  errors::UnrecognizedDatabaseFormat);
    }
}

TEST(EngineOpenTest, ResolvesWindowsStylePathsCaseBlind) {
    TempFolder folder;
    fs::create_directory(folder.path() / "Hotspots");
    copyOf("access97/testV1997.mdb", folder / "Hotspots/VUDuzu.mdb");
    const std::string root = folder.path().string();
    auto database = processEngine().openDatabase(root + "\\\\hotspots\\vuduzu.MDB", true, true,
                                                 ControlPassword);
    EXPECT_EQ(rowsOf(database, "Table1"), 2);
}

TEST(EngineOpenTest, Jet4PasswordIsComparedLetterCaseCounting) {
    const fs::path file = fixture("jet4/V2000_with-password.mdb");
    EXPECT_EQ(rowsOf(openShared(file, ";PWD=password;"), "Table1"), 3);
    for (const char* connect : {";PWD=Password;", ";PWD=PASSWORD;", ";PWD=passwor;",
                                ";PWD=password ;", ";PWD=Lark7meadOW;", ""}) {
        SCOPED_TRACE(connect);
        EXPECT_EQ(errorNumberOf([&] { openShared(file, connect); }), errors::NotValidPassword);
    }
}

TEST(EngineOpenTest, Jet3PasswordIsComparedLetterCaseCounting) {
    TempFolder folder;
    const fs::path file = copyOf("access97/testV1997.mdb", folder / "VUDuzu.mdb");
    storeJet3Password(file, "Lark7meadOW");
    EXPECT_EQ(rowsOf(openExclusive(file, ";PWD=Lark7meadOW;"), "Table1"), 2);
    EXPECT_EQ(rowsOf(openExclusive(file, "pwd=Lark7meadOW"), "Table1"), 2);
    for (const char* connect :
         {";PWD=lark7meadow;", ";PWD=LARK7MEADOW;", ";PWD=Lark7mead;", ";PWD=;", ""}) {
        SCOPED_TRACE(connect);
        EXPECT_EQ(errorNumberOf([&] { openExclusive(file, connect); }), errors::NotValidPassword);
    }
}

TEST(EngineOpenTest, Jet3PasswordInTheFilesCodePageMatchesUtf8) {
    TempFolder folder;
    const fs::path file = copyOf("access97/testV1997.mdb", folder / "VUDuzu.mdb");
    storeJet3Password(file,
                      "Gr\xfc\xdf"
                      "e");  // "Grüße" in code page 1252
    EXPECT_EQ(rowsOf(openExclusive(file, ";PWD=Grüße;"), "Table1"), 2);
    EXPECT_EQ(errorNumberOf([&] { openExclusive(file, ";PWD=GRÜSSE;"); }),
              errors::NotValidPassword);
}

TEST(EngineOpenTest, FileWithoutPasswordOpensWhateverPwdSays) {
    const fs::path file = fixture("access97/testV1997.mdb");
    for (const char* connect : {";PWD=Lark7meadOW;", ";PWD=anything;", ";PWD=;", ""}) {
        SCOPED_TRACE(connect);
        EXPECT_EQ(rowsOf(openShared(file, connect), "Table1"), 2);
    }
}

TEST(EngineOpenTest, WrongPasswordLeavesTheFileFree) {
    TempFolder folder;
    const fs::path file = copyOf("access97/testV1997.mdb", folder / "VUDuzu.mdb");
    storeJet3Password(file, "Lark7meadOW");
    EXPECT_EQ(errorNumberOf([&] { openExclusive(file, ";PWD=wrong;"); }), errors::NotValidPassword);
    EXPECT_EQ(rowsOf(openExclusive(file), "Table1"), 2);
}

}  // namespace
}  // namespace tessaro::catalogue
