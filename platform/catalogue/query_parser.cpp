// SPDX-License-Identifier: MIT
#include "platform/catalogue/query_parser.h"

#include <cctype>

#include <tessaro/catalogue.h>
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

bool isNameChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return std::isalnum(byte) || c == '_' || byte >= 0x80;
}

class Scanner {
  public:
    explicit Scanner(std::string_view text) : text_(text) {}

    std::string_view word() {
        skipBlanks();
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isNameChar(text_[pos_]))
            ++pos_;
        return text_.substr(start, pos_ - start);
    }

    bool keyword(std::string_view lowerCase) { return paths::foldCase(word()) == lowerCase; }

    // A table or column name: a word that is not one of the query's keywords.
    std::optional<std::string> name() {
        const std::string_view found = word();
        const std::string folded = paths::foldCase(found);
        if (found.empty() || folded == "select" || folded == "from" || folded == "where")
            return std::nullopt;
        return std::string(found);
    }

    bool symbol(char c) {
        skipBlanks();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // A double-quoted literal in which "" stands for one quote.
    std::optional<std::string> quoted() {
        if (!symbol('"'))
            return std::nullopt;
        std::string literal;
        while (pos_ < text_.size()) {
            const char c = text_[pos_++];
            if (c != '"') {
                literal += c;
            } else if (pos_ < text_.size() && text_[pos_] == '"') {
                literal += '"';
                ++pos_;
            } else {
                return literal;
            }
        }
        return std::nullopt;
    }

    bool atEnd() {
        symbol(';');
        skipBlanks();
        return pos_ == text_.size();
    }

  private:
    void skipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

Error syntaxError(int number, std::string_view where, std::string_view sql) {
    return Error(number,
                 "syntax error in " + std::string(where) + " of query '" + std::string(sql) + "'");
}

}  // namespace

Query parseQuery(std::string_view sql) {
    Scanner scanner(sql);
    if (!scanner.keyword("select") || !scanner.symbol('*') || !scanner.keyword("from"))
        throw syntaxError(errors::SyntaxInSelect, "the SELECT statement", sql);

    Query query;
    const std::optional<std::string> table = scanner.name();
    if (!table)
        throw syntaxError(errors::SyntaxInFromClause, "the FROM clause", sql);
    query.table = *table;
    if (scanner.atEnd())
        return query;
    if (!scanner.keyword("where"))
        throw syntaxError(errors::SyntaxInFromClause, "the FROM clause", sql);

    const std::optional<std::string> column = scanner.name();
    if (!column || !scanner.symbol('='))
        throw syntaxError(errors::SyntaxInQueryExpression, "the WHERE expression", sql);
    const std::optional<std::string> literal = scanner.quoted();
    if (!literal || !scanner.atEnd())
        throw syntaxError(errors::SyntaxInQueryExpression, "the WHERE expression", sql);
    query.condition = Condition{*column, *literal};
    return query;
}

}  // namespace tessaro::catalogue
