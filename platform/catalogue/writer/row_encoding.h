// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <vector>

#include "platform/catalogue/writer/column_layout.h"

namespace tessaro::catalogue::jet3 {

// One value as a row holds it: null, a truth (booleans live in the null mask), or the
// bytes that go into the row's fixed area or variable part.
struct StoredValue {
    bool isNull = true;
    bool truth = false;
    Bytes bytes;

    static StoredValue null() { return {}; }
    static StoredValue boolean(bool value) { return {false, value, {}}; }
    static StoredValue data(Bytes bytes) { return {false, false, std::move(bytes)}; }
};

// Encodes one row (one value per column of the layout): the column count, the fixed
// area, the variable values, then from the end backwards the null mask, the variable
// column count, the jump table and the one-byte offset table ending with the end of the
// variable data. Empty when the row would not fit on a page.
std::optional<Bytes> encodeRow(const ColumnLayout& layout, const std::vector<StoredValue>& values);

}  // namespace tessaro::catalogue::jet3
