// SPDX-License-Identifier: MIT
#pragma once

#include <tessaro/export.h>

namespace tessaro {

// The version of the loaded library ("0.1.0"), for hosts that report what they run on.
// The updater also recognises a Tessaro control library by this symbol.
TESSARO_EXPORT const char* version();

}  // namespace tessaro
