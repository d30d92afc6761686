// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <tessaro/export.h>

namespace tessaro::host {

// The folder that holds the control library's own file, without a trailing separator.
class TESSARO_EXPORT ModuleFolder {
  public:
    virtual ~ModuleFolder() = default;
    virtual std::string path() const = 0;
};

// The production answer: the folder the library holding this code was loaded from
// (dladdr), made absolute. The environment variable TESSARO_MODULE_DIR, when set and not
// empty, overrides it: its value is answered as it stands, trailing separators removed,
// read afresh on every call (so a course can keep its catalogue apart from the library,
// and a test can point it at a temporary folder). Empty when neither can be found.
TESSARO_EXPORT ModuleFolder& libraryModuleFolder();

}  // namespace tessaro::host
