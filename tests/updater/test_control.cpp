// SPDX-License-Identifier: MIT
// A small stand-in for the control library: an ELF shared object of this machine that
// exports tessaro::version(), the symbol mendrick recognises the control by.
#include <tessaro/version.h>

namespace tessaro {

const char* version() {
    return TEST_CONTROL_VERSION;
}

}  // namespace tessaro
