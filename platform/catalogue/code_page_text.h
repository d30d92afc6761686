// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace tessaro::catalogue {

// Text stored in a Windows code page (a Jet 3 file's own page, 1252 when the file names
// none) as UTF-8. Bytes the code page does not define are dropped.
std::string codePageToUtf8(std::string_view bytes, int codePage);

// Jet 4 text as UTF-8: UCS-2 little-endian, or Jet's compressed form (marked by the bytes
// FF FE, runs of one-byte characters switched with a zero byte).
std::string jet4TextToUtf8(std::string_view bytes);

}  // namespace tessaro::catalogue
