// SPDX-License-Identifier: MIT
#pragma once

namespace tessaro::catalogue {

// The column types of a catalogue description: what the writer stores, and what the
// reader tells a stored column as (its nearest type).
enum class ColumnType { Text, Memo, Integer, Long, Double, Boolean };

}  // namespace tessaro::catalogue
