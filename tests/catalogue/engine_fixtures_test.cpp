// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "tests/catalogue/engine_test_support.h"

namespace tessaro::catalogue {
namespace {

using namespace testing;

// Files made by Access 97 itself: every column type Access offers, read as the engine's
// untyped values.
TEST(EngineAccess97Test, ReadsEveryColumnTypeOfTestV1997) {
    auto database = openExclusive(fixture("access97/testV1997.mdb"));
    auto rs = database->openRecordset("select * from Table1");
    // A text, B text, C byte, D integer, E long, F double, G date (days since 1899-12-30),
    // H currency, I boolean.
    EXPECT_EQ(currentRow(*rs), (std::vector<Variant>{"a", "b", 0, 0, 0, 0.0, 29932.0, 0.0, 0}));
    rs->moveNext();
    EXPECT_EQ(currentRow(*rs), (std::vector<Variant>{"abcdefg", "hijklmnop", 2, 222, 333333333,
                                                     444.555, 27293.0, 3.5, -1}));
}

TEST(EngineAccess97Test, ReadsWideTablesAndSkipsDeletedRows) {
    auto wide =
        openShared(fixture("access97/testV1997.mdb"))->openRecordset("select * from Table2");
    EXPECT_EQ(wide->fieldNames().size(), 89u);
    EXPECT_TRUE(wide->eof());

    auto deleted =
        openShared(fixture("access97/delTestV1997.mdb"))->openRecordset("select * from Table");
    EXPECT_EQ(deleted->recordCount(), 2);
    EXPECT_EQ(currentRow(*deleted), (std::vector<Variant>{"z", "y"}));
    deleted->moveLast();
    EXPECT_EQ(currentRow(*deleted), (std::vector<Variant>{"v", "u"}));
}

TEST(EngineAccess97Test, ReadsMemoNullAndLongTextOfAProjectFile) {
    auto rs = openShared(fixture("access97/test2V1997.mdb"))
                  ->openRecordset("select * from msp_projects where PROJ_NAME = \"PROJECT1\"");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("PROJ_ID"), Variant(1));
    EXPECT_TRUE(rs->field("PROJ_PROP_CATEGORY").isNull());
    const std::string author = rs->field("PROJ_PROP_AUTHOR").toText();
    EXPECT_EQ(author.rfind("Jon Iles this is a a vawesrasoih", 0), 0u) << author;
    EXPECT_GT(author.size(), 255u);
    EXPECT_EQ(rs->field("PROJ_OPT_CALC_ACT_COSTS"), Variant(-1));
}

TEST(EngineJet4Test, ReadsTheRowsBehindThePassword) {
    auto rs = openExclusive(fixture("jet4/V2000_with-password.mdb"), ";PWD=password;")
                  ->openRecordset("select * from Table1 where Data = \"two\"");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(currentRow(*rs), (std::vector<Variant>{2, "Two"}));
}

}  // namespace
}  // namespace tessaro::catalogue
