// SPDX-License-Identifier: MIT
#include <tessaro/version.h>

namespace tessaro {

const char* version() {
    return TESSARO_VERSION_STRING;
}

}  // namespace tessaro
