// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessaro::testing {

// One exported row: a value per column, std::nullopt for a null (an empty unquoted
// field of mdb-export).
using ExportedRow = std::vector<std::optional<std::string>>;

// What mdbtools' own command-line tools read from a file.
std::string mdbVersion(const std::string& file);
std::vector<std::string> mdbTables(const std::string& file);
// mdb-export's rows of a table, without the header line.
std::vector<ExportedRow> mdbExport(const std::string& file, const std::string& table);

}  // namespace tessaro::testing
