// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessaro::testing {

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program (found through PATH) and collects what it prints.
ToolResult runTool(const std::vector<std::string>& argv);

// A folder of its own under the system's temporary folder, removed with everything in it.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// One exported row: a value per column, std::nullopt for a null (an empty unquoted
// field of mdb-export).
using ExportedRow = std::vector<std::optional<std::string>>;

// What mdbtools' own command-line tools read from a file.
std::string mdbVersion(const std::string& file);
std::vector<std::string> mdbTables(const std::string& file);
// mdb-export's rows of a table, without the header line.
std::vector<ExportedRow> mdbExport(const std::string& file, const std::string& table);

}  // namespace tessaro::testing
