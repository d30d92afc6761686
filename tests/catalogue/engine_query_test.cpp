// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "platform/catalogue/query_parser.h"
#include "tests/catalogue/engine_test_support.h"

namespace tessaro::catalogue {
namespace {

using testing::errorNumberOf;

TEST(QueryParserTest, AcceptsBothShapesWithFreeBlanksAndLetterCase) {
    struct Case {
        std::string sql;
        std::string table;
        std::optional<Condition> condition;
    };
    const Case cases[] = {
        {"select * from Asanas", "Asanas", std::nullopt},
        {"SELECT * FROM Audio_Asana7", "Audio_Asana7", std::nullopt},
        {"  Select\t*\nFrom  Photo_Asana12 ;  ", "Photo_Asana12", std::nullopt},
        {"select*from Asanas", "Asanas", std::nullopt},
        {"select * from Asanas where name = \"Tadasana\"", "Asanas", Condition{"name", "Tadasana"}},
        {"select * from Asanas WHERE Name=\"\"", "Asanas", Condition{"Name", ""}},
        {"select * from Asanas where name = \"a \"\"b\"\" c\"", "Asanas",
         Condition{"name", "a \"b\" c"}},
        {"select * from Asanas where name = \"\"\"\"", "Asanas", Condition{"name", "\""}},
        {"select * from Asanas where name = \"it's\";", "Asanas", Condition{"name", "it's"}},
        {"select * from Asanas where name = \"Śavāsana ü\"", "Asanas",
         Condition{"name", "Śavāsana ü"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const Query query = parseQuery(c.sql);
        EXPECT_EQ(query.table, c.table);
        ASSERT_EQ(query.condition.has_value(), c.condition.has_value());
        if (c.condition) {
            EXPECT_EQ(query.condition->column, c.condition->column);
            EXPECT_EQ(query.condition->literal, c.condition->literal);
        }
    }
}

TEST(QueryParserTest, RejectsEveryOtherShapeWithJetsNumbers) {
    struct Case {
        std::string sql;
        int number;
    };
    const Case cases[] = {
        {"", errors::SyntaxInSelect},
        {"delete * from Asanas", errors::SyntaxInSelect},
        {"select name from Asanas", errors::SyntaxInSelect},
        {"select from Asanas", errors::SyntaxInSelect},
        {"select * Asanas", errors::SyntaxInSelect},
        {"select * form Asanas", errors::SyntaxInSelect},
        {"select * from", errors::SyntaxInFromClause},
        {"select * from where", errors::SyntaxInFromClause},
        {"select * from Asanas, Audio_Asana1", errors::SyntaxInFromClause},
        {"select * from Asanas order by name", errors::SyntaxInFromClause},
        {"select * from \"Asanas\"", errors::SyntaxInFromClause},
        {"select * from Asanas; select * from Asanas", errors::SyntaxInFromClause},
        {"select * from Asanas where", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name = ", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name = \"open", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name = \"a\"\"", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name = 'Tadasana'", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name = 7", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name like \"T*\"", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name = \"a\" and x = \"b\"", errors::SyntaxInQueryExpression},
        {"select * from Asanas where name = \"a\" \"b\"", errors::SyntaxInQueryExpression},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(errorNumberOf([&] { parseQuery(c.sql); }), c.number);
    }
}

TEST(QueryParserTest, ErrorTextQuotesTheQuery) {
    try {
        parseQuery("select * from Asanas where name = \"open");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(error.text().find("name = \"open"), std::string::npos) << error.text();
    }
}

}  // namespace
}  // namespace tessaro::catalogue
