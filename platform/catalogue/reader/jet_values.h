// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>

#include <tessaro/variant.h>
#include "platform/catalogue/reader/jet_pages.h"
#include "platform/catalogue/reader/jet_row_fields.h"
#include "platform/catalogue/reader/jet_table.h"

namespace tessaro::catalogue {

// Which value each long-value row (memo, OLE) of a file belongs to. In a sound file every
// such row belongs to one value; a row claimed by two values is damage, which bounds
// what a read gathers to the size of the file however the rows point.
class LongValueClaims {
  public:
    // owner identifies the value (its row and column); the same owner may claim again.
    void claim(std::uint32_t address, std::uint64_t owner);

  private:
    std::map<std::uint32_t, std::uint64_t> owners_;
};

// Identifies the value of `column` in row `row` of data page `page`.
std::uint64_t valueOwner(std::uint32_t page, std::size_t row, int column);

// The value of a field as the engine hands it out: integers, doubles, UTF-8 text (raw
// bytes for binary and OLE data), booleans as -1 / 0, Variant::null() for a null.
// Throws Damage when the field is too short for its type, or a long value's stored
// length, address or chain does not fit the file.
Variant decodeValue(const JetPages& pages, const JetColumn& column, const ByteView& page,
                    const Field& field, LongValueClaims& claims, std::uint64_t owner);

}  // namespace tessaro::catalogue
