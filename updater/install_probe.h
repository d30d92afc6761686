// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace mendrick {

// True when `path` (a POSIX path, already resolved) names anything that exists: a file,
// a folder, or another kind of entry. A dangling symbolic link counts as nothing.
bool pathExists(const std::string& path);

}  // namespace mendrick
