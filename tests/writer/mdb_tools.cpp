// SPDX-License-Identifier: MIT
#include "tests/writer/mdb_tools.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/process.h"

namespace tessaro::testing {
namespace {

// Splits mdb-export's CSV: fields separated by commas, text quoted with doubled quotes
// inside, line breaks allowed inside quotes.
std::vector<ExportedRow> parseCsv(const std::string& text) {
    std::vector<ExportedRow> rows;
    ExportedRow row;
    std::optional<std::string> field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field->push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field->push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
            field = field.value_or("");
        } else if (c == ',' || c == '\n') {
            row.push_back(field);
            field.reset();
            if (c == '\n') {
                rows.push_back(std::move(row));
                row.clear();
            }
        } else {
            field = field.value_or("") + c;
        }
    }
    return rows;
}

}  // namespace

std::string mdbVersion(const std::string& file) {
    const auto result = runProcess({"mdb-ver", file});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out.substr(0, result.out.find('\n'));
}

std::vector<std::string> mdbTables(const std::string& file) {
    const auto result = runProcess({"mdb-tables", "-1", file});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<std::string> tables;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        tables.push_back(line);
    }
    return tables;
}

std::vector<ExportedRow> mdbExport(const std::string& file, const std::string& table) {
    const auto result = runProcess({"mdb-export", file, table});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    auto rows = parseCsv(result.out);
    if (!rows.empty()) {
        rows.erase(rows.begin());
    }
    return rows;
}

}  // namespace tessaro::testing
