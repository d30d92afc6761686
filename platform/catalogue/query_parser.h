// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessaro::catalogue {

// `where COLUMN = "LITERAL"`, the literal with Jet's doubled quotes undone.
struct Condition {
    std::string column;
    std::string literal;
};

struct Query {
    std::string table;
    std::optional<Condition> condition;
};

// Parses the two query shapes the engine runs: "select * from TABLE" and
// "select * from TABLE where COLUMN = "LITERAL"". Keywords are case-blind, blanks between
// tokens are free, a final ';' is allowed. Anything else throws tessaro::Error: 3141 for
// a fault before the table name, 3131 in the FROM clause, 3075 in the WHERE expression.
Query parseQuery(std::string_view sql);

}  // namespace tessaro::catalogue
