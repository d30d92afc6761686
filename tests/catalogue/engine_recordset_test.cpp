// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "tests/catalogue/engine_test_support.h"

namespace tessaro::catalogue {
namespace {

using namespace testing;

class EngineRecordsetTest : public ::testing::Test {
  protected:
    std::shared_ptr<Database> database_ = openShared(fixture("access97/testV1997.mdb"));
    std::shared_ptr<Database> empty_ = openShared(fixture("access97/queryTestV1997.mdb"));
};

TEST_F(EngineRecordsetTest, WholeTableInStoredOrder) {
    auto rs = database_->openRecordset("select * from Table1");
    ASSERT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("A"), Variant("a"));
    rs->moveNext();
    EXPECT_EQ(rs->field("A"), Variant("abcdefg"));
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(rs->recordCount(), 2);
}

TEST_F(EngineRecordsetTest, MovesAndCounts) {
    auto rs = database_->openRecordset("select * from Table1");
    rs->moveLast();
    EXPECT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->field("B"), Variant("hijklmnop"));
    EXPECT_FALSE(rs->eof());
    rs->moveFirst();
    EXPECT_EQ(rs->field("B"), Variant("b"));
    rs->moveLast();
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_EQ(errorNumberOf([&] { rs->moveNext(); }), errors::NoCurrentRecord);
    EXPECT_EQ(errorNumberOf([&] { rs->field("A"); }), errors::NoCurrentRecord);
    rs->moveFirst();
    EXPECT_FALSE(rs->eof());
    EXPECT_EQ(rs->field("A"), Variant("a"));
}

TEST_F(EngineRecordsetTest, EmptyResultIsNoErrorButHasNoCurrentRow) {
    for (const char* sql : {"select * from Table1", "select * from table3"}) {
        SCOPED_TRACE(sql);
        auto rs = empty_->openRecordset(sql);
        EXPECT_TRUE(rs->eof());
        EXPECT_EQ(errorNumberOf([&] { rs->moveFirst(); }), errors::NoCurrentRecord);
        EXPECT_EQ(errorNumberOf([&] { rs->moveLast(); }), errors::NoCurrentRecord);
        EXPECT_EQ(errorNumberOf([&] { rs->moveNext(); }), errors::NoCurrentRecord);
        EXPECT_EQ(errorNumberOf([&] { rs->field("col1"); }), errors::NoCurrentRecord);
        EXPECT_EQ(rs->recordCount(), 0);
    }
    auto noMatch = database_->openRecordset("select * from Table1 where A = \"zzz\"");
    EXPECT_TRUE(noMatch->eof());
    EXPECT_EQ(errorNumberOf([&] { noMatch->moveFirst(); }), errors::NoCurrentRecord);
}

TEST_F(EngineRecordsetTest, FieldLookupIsCaseBlindAndUnknownColumnIs3265) {
    auto rs = database_->openRecordset("select * from Table1");
    EXPECT_EQ(rs->field("a"), rs->field("A"));
    EXPECT_EQ(errorNumberOf([&] { rs->field("Z"); }), errors::ItemNotInCollection);
    EXPECT_EQ(errorNumberOf([&] { rs->field(""); }), errors::ItemNotInCollection);
    EXPECT_EQ(rs->fieldNames(),
              (std::vector<std::string>{"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    // An unknown column is reported before the missing row, as the column collection
    // exists whether or not there is a row.
    rs->moveLast();
    rs->moveNext();
    EXPECT_EQ(errorNumberOf([&] { rs->field("Z"); }), errors::ItemNotInCollection);
}

TEST_F(EngineRecordsetTest, WhereMatchesTextCaseBlindAndNumbersByValue) {
    struct Case {
        std::string sql;
        std::int64_t count;
    };
    const Case cases[] = {
        {"select * from Table1 where A = \"abcdefg\"", 1},
        {"select * from TABLE1 where a = \"ABCDEFG\"", 1},
        {"select * from Table1 where A = \"abcdef\"", 0},
        {"select * from Table1 where A = \"abcdefg \"", 0},
        {"select * from Table1 where B = \"B\"", 1},
        {"select * from Table1 where D = \"222\"", 1},
        {"select * from Table1 where E = \"333333333\"", 1},
        {"select * from Table1 where F = \"444.555\"", 1},
        {"select * from Table1 where D = \"two\"", 0},
        {"select * from Table1 where I = \"-1\"", 1},
        {"select * from Table1 where C = \"0\"", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        auto rs = database_->openRecordset(c.sql);
        EXPECT_EQ(rs->recordCount(), c.count);
    }
}

TEST_F(EngineRecordsetTest, UnknownTableIs3078AndUnknownWhereColumnIs3265) {
    EXPECT_EQ(errorNumberOf([&] { database_->openRecordset("select * from Audio_Asana7"); }),
              errors::TableNotFound);
    EXPECT_EQ(errorNumberOf([&] { database_->openRecordset("select * from MSysObjects"); }),
              errors::TableNotFound);
    EXPECT_EQ(
        errorNumberOf([&] { database_->openRecordset("select * from Table1 where Q = \"x\""); }),
        errors::ItemNotInCollection);
    EXPECT_EQ(errorNumberOf([&] { database_->openRecordset("select * Table1"); }),
              errors::SyntaxInSelect);
}

TEST_F(EngineRecordsetTest, ClosedRecordsetFailsWith3420) {
    auto rs = database_->openRecordset("select * from Table1");
    rs->close();
    const std::function<void()> uses[] = {
        [&] { rs->moveFirst(); },  [&] { rs->moveLast(); },    [&] { rs->moveNext(); },
        [&] { rs->eof(); },        [&] { rs->recordCount(); }, [&] { rs->field("A"); },
        [&] { rs->fieldNames(); }, [&] { rs->close(); },
    };
    for (const auto& use : uses)
        EXPECT_EQ(errorNumberOf(use), errors::ObjectClosed);
    auto other = database_->openRecordset("select * from Table1");
    EXPECT_EQ(other->field("A"), Variant("a"));
}

TEST_F(EngineRecordsetTest, ClosingTheDatabaseClosesItsRecordsets) {
    auto first = database_->openRecordset("select * from Table1");
    auto second = database_->openRecordset("select * from Table2");
    database_->close();
    EXPECT_EQ(errorNumberOf([&] { first->field("A"); }), errors::ObjectClosed);
    EXPECT_EQ(errorNumberOf([&] { second->eof(); }), errors::ObjectClosed);
    EXPECT_EQ(errorNumberOf([&] { first->close(); }), errors::ObjectClosed);
    EXPECT_EQ(errorNumberOf([&] { database_->openRecordset("select * from Table1"); }),
              errors::ObjectClosed);
    EXPECT_EQ(errorNumberOf([&] { database_->close(); }), errors::ObjectClosed);
}

TEST_F(EngineRecordsetTest, SnapshotsAreIndependentOfEachOther) {
    auto first = database_->openRecordset("select * from Table1");
    auto second = database_->openRecordset("select * from Table1");
    first->moveLast();
    EXPECT_EQ(second->field("A"), Variant("a"));
    EXPECT_EQ(first->field("A"), Variant("abcdefg"));
}

}  // namespace
}  // namespace tessaro::catalogue
