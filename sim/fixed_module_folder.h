// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <utility>

#include <tessaro/module_folder.h>

namespace tessaro::host {

// A module folder fixed when it is made, for hosts that place the control's files
// themselves (tests, tools and benchmarks on the sim container).
class FixedModuleFolder final : public ModuleFolder {
  public:
    explicit FixedModuleFolder(std::string path) : path_(std::move(path)) {}
    std::string path() const override { return path_; }

  private:
    std::string path_;
};

}  // namespace tessaro::host
