// SPDX-License-Identifier: MIT
#pragma once

#include "platform/catalogue/writer/page_file.h"

namespace tessaro::catalogue::jet3 {

// The 12-byte header of a memo value followed by the value itself, kept in the row.
Bytes inlineLongValue(const Bytes& value);

// Memo values too long to stay in their row: a value that fits on one page is a row of a
// long value page; a longer one is a chain of rows, each starting with the address of the
// next. Returns the 12-byte header the row keeps.
class LongValueStore {
  public:
    explicit LongValueStore(PageFile& file) : packer_(file, LongValueOwner) {}
    // value.size() must not exceed MaxLongValueLength.
    Bytes store(const Bytes& value);

  private:
    RowPacker packer_;
};

}  // namespace tessaro::catalogue::jet3
