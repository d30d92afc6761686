// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>

namespace tessaro::testing {

// A fresh folder of the test's own below the system's temporary folder, named
// <prefix>-XXXXXX. It goes with everything in it when the object goes, whatever
// permissions a test left on what it holds.
class TempFolder {
  public:
    explicit TempFolder(const std::string& prefix = "tessaro");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string string() const { return path_.string(); }
    std::filesystem::path operator/(const std::filesystem::path& tail) const {
        return path_ / tail;
    }

  private:
    std::filesystem::path path_;
};

// The whole content of a file, as bytes; empty when it cannot be read.
std::string fileContent(const std::filesystem::path& file);

}  // namespace tessaro::testing
