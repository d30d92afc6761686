#pragma once

#include <string>

namespace tessaro::host {

// The folder that holds the control library's own file, without a trailing separator.
class ModuleFolder {
  public:
    virtual ~ModuleFolder() = default;
    virtual std::string path() const = 0;
};

// The production answer: the folder the library holding this code was loaded from
// (dladdr), or the value of TESSARO_MODULE_DIR when that is set.
ModuleFolder& libraryModuleFolder();

}  // namespace tessaro::host
