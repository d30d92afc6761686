// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The fixed numbers of the Jet 3 (Access 97) file format that the writer lays out.
namespace tessaro::catalogue::jet3 {

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::size_t PageSize = 2048;

// Page 2 always holds the table definition of MSysObjects, the system catalogue through
// which readers find every other table.
inline constexpr std::uint32_t SystemCatalogueDefinitionPage = 2;

inline constexpr std::uint8_t DataPageType = 0x01;
inline constexpr std::uint8_t TableDefinitionPageType = 0x02;

// A data page: type, a constant 1, free space, owner, row count, then one offset per row;
// rows fill the page from its end towards the header.
inline constexpr std::size_t DataPageHeaderSize = 10;
inline constexpr std::size_t RowOffsetSize = 2;
inline constexpr std::size_t MaxRowSize = PageSize - DataPageHeaderSize - RowOffsetSize;
// Rows are addressed as (page << 8 | row), so a page holds at most 256 of them.
inline constexpr std::size_t MaxRowsPerPage = 255;

// Owner word of a long value page (in place of the table definition page).
inline constexpr std::uint32_t LongValueOwner = 0x4C41564C;  // "LVAL"

// Column type codes.
inline constexpr std::uint8_t BooleanType = 0x01;
inline constexpr std::uint8_t IntegerType = 0x03;
inline constexpr std::uint8_t LongType = 0x04;
inline constexpr std::uint8_t DoubleType = 0x07;
inline constexpr std::uint8_t DateTimeType = 0x08;
inline constexpr std::uint8_t BinaryType = 0x09;
inline constexpr std::uint8_t TextType = 0x0A;
inline constexpr std::uint8_t OleType = 0x0B;
inline constexpr std::uint8_t MemoType = 0x0C;

// Column flags.
inline constexpr std::uint8_t FixedLengthFlag = 0x01;
inline constexpr std::uint8_t NullableFlag = 0x02;
inline constexpr std::uint8_t SystemColumnFlag = 0x10;

// A memo or OLE value in a row: 3 bytes of length, a flag byte, the (page << 8 | row)
// of its long value row, 4 unused bytes; an inline value follows the header.
inline constexpr std::size_t LongValueHeaderSize = 12;
inline constexpr std::uint32_t InlineLongValue = 0x80000000;
inline constexpr std::uint32_t SinglePageLongValue = 0x40000000;
inline constexpr std::size_t MaxLongValueLength = 0x00FFFFFF;

inline constexpr std::uint16_t CodePage1252 = 1252;
inline constexpr std::uint16_t GeneralSortOrder = 0x0409;

inline constexpr std::size_t MaxNameLength = 64;
inline constexpr std::size_t MaxTextSize = 255;

}  // namespace tessaro::catalogue::jet3
