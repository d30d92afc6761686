// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/catalogue/writer/jet3_format.h"

namespace tessaro::catalogue::jet3 {

// The row that tells readers which pages hold a table's data: map type 0, the first page
// the bitmap covers, then one bit per page (low bit first). Empty when the pages span
// more than one row can map.
std::optional<Bytes> usageMap(const std::vector<std::uint32_t>& pages);

}  // namespace tessaro::catalogue::jet3
