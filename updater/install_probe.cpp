// SPDX-License-Identifier: MIT
#include "updater/install_probe.h"

#include <sys/stat.h>

namespace mendrick {

bool pathExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace mendrick
