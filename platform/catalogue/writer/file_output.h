// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "platform/catalogue/writer/jet3_format.h"

namespace tessaro::catalogue::jet3 {

// Writes the bytes to a temporary file in path's folder, flushes it to disk and renames
// it to path, so path holds either its earlier content or the whole new file. Throws
// tessaro::Error (3043) naming the path when any step fails; the temporary file is
// removed then.
void writeFileAtomically(const std::string& path, const Bytes& contents);

}  // namespace tessaro::catalogue::jet3
