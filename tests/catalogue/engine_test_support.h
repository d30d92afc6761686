// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <tessaro/catalogue.h>
#include "tests/support/temp_folder.h"

namespace tessaro::catalogue::testing {

namespace fs = std::filesystem;
using tessaro::testing::fileContent;
using tessaro::testing::TempFolder;

inline const std::string ControlPassword = ";PWD=Lark7meadOW;";

// A file of the source tree, which the test environment names in TESSARO_SOURCE_DIR.
inline fs::path sourceFile(const fs::path& relative) {
    const char* source = std::getenv("TESSARO_SOURCE_DIR");
    return fs::path(source ? source : ".") / relative;
}

// The inputs that once broke the catalogue reader, kept by its fuzzer.
inline const fs::path RegressionInputs = sourceFile("fuzz/regressions/catalogue_read_fuzzer");

inline fs::path fixtureSource(const std::string& relative) {
    return sourceFile("tests/catalogue/fixtures") / relative;
}

// A copy of a fixture file private to this test process: tests run in parallel processes
// and an exclusive open of a shared file would shut the others out. Removed at exit.
inline fs::path fixture(const std::string& relative) {
    static const TempFolder folder("tessaro-fixtures");
    const fs::path copy = folder / relative;
    if (!fs::exists(copy)) {
        fs::create_directories(copy.parent_path());
        fs::copy_file(fixtureSource(relative), copy);
    }
    return copy;
}

// A writable copy of a fixture file at target.
inline fs::path copyOf(const std::string& fixtureFile, const fs::path& target) {
    fs::copy_file(fixtureSource(fixtureFile), target, fs::copy_options::overwrite_existing);
    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    return target;
}

// Runs action and returns the number of the tessaro::Error it throws, 0 when it throws
// none; the error's text goes to the test log.
inline int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        std::cout << "error " << error.number() << ": " << error.text() << "\n";
        return error.number();
    }
    return 0;
}

// The values of the recordset's current row, column by column.
inline std::vector<Variant> currentRow(const Recordset& rs) {
    std::vector<Variant> row;
    for (const std::string& name : rs.fieldNames())
        row.push_back(rs.field(name));
    return row;
}

inline std::shared_ptr<Database> openShared(const fs::path& file,
                                            const std::string& connect = ControlPassword) {
    return processEngine().openDatabase(file.string(), false, true, connect);
}

inline std::shared_ptr<Database> openExclusive(const fs::path& file,
                                               const std::string& connect = ControlPassword) {
    return processEngine().openDatabase(file.string(), true, true, connect);
}

}  // namespace tessaro::catalogue::testing
