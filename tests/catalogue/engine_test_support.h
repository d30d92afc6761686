// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <tessaro/catalogue.h>

namespace tessaro::catalogue::testing {

namespace fs = std::filesystem;

inline const std::string ControlPassword = ";PWD=Lark7meadOW;";

inline fs::path fixtureSource(const std::string& relative) {
    const char* source = std::getenv("TESSARO_SOURCE_DIR");
    return fs::path(source ? source : ".") / "tests" / "catalogue" / "fixtures" / relative;
}

// A copy of a fixture file private to this test process: tests run in parallel processes
// and an exclusive open of a shared file would shut the others out. Removed at exit.
inline fs::path fixture(const std::string& relative) {
    struct ProcessFolder {
        fs::path path =
            fs::temp_directory_path() / ("tessaro-fixtures-" + std::to_string(::getpid()));
        ~ProcessFolder() {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    };
    static const ProcessFolder folder;
    const fs::path copy = folder.path / relative;
    if (!fs::exists(copy)) {
        fs::create_directories(copy.parent_path());
        fs::copy_file(fixtureSource(relative), copy);
    }
    return copy;
}

// A folder of its own for each test, removed afterwards.
class TempFolder {
  public:
    TempFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() / ("tessaro-catalogue-" + std::to_string(::getpid()) +
                                             "-" + test->test_suite_name() + "-" + test->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }

    const fs::path& path() const { return path_; }

    // A writable copy of a fixture file inside the folder.
    fs::path copyOf(const std::string& fixtureFile, const std::string& name) const {
        const fs::path target = path_ / name;
        fs::copy_file(fixtureSource(fixtureFile), target, fs::copy_options::overwrite_existing);
        fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
        return target;
    }

  private:
    fs::path path_;
};

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

inline std::shared_ptr<Database> openShared(const fs::path& file,
                                            const std::string& connect = ControlPassword) {
    return processEngine().openDatabase(file.string(), false, true, connect);
}

inline std::shared_ptr<Database> openExclusive(const fs::path& file,
                                               const std::string& connect = ControlPassword) {
    return processEngine().openDatabase(file.string(), true, true, connect);
}

}  // namespace tessaro::catalogue::testing
