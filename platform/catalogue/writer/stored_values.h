// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/catalogue/writer/row_encoding.h"

// Values in the byte form a row stores them in.
namespace tessaro::catalogue::jet3 {

StoredValue storedInteger(std::int16_t value);
StoredValue storedLong(std::int32_t value);
StoredValue storedDouble(double value);
// Text already in the file's code page.
StoredValue storedText(std::string_view codePageText);

}  // namespace tessaro::catalogue::jet3
