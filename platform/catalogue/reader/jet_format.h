// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

// The numbers of the Jet 3 and Jet 4 file formats that the reader reads by (mdbtools'
// HACKING, Jackcess, mdb-reader).
namespace tessaro::catalogue::jet {

enum class Version { Jet3, Jet4 };

// Where each version keeps what the reader reads: the header page's masked region and
// password, a data page's row table, a table definition's counts and column entries.
struct Layout {
    Version version;
    const char* name;
    std::size_t pageSize;
    std::size_t maskedHeaderBytes;
    std::size_t passwordBytes;
    // Bytes of a text character, of a row's column count and of a column name's length.
    std::size_t characterBytes;
    // Jet 3 signs a table definition page with "VC" after its type; Jet 4 keeps the page's
    // free space there, which never reaches the number those letters make.
    bool signsDefinitions;
    std::size_t rowCountOffset;
    std::size_t tableRowsOffset;
    std::size_t tableColumnsOffset;
    std::size_t tableRealIndexesOffset;
    std::size_t tableUsageMapOffset;
    std::size_t tableColumnsStart;
    std::size_t realIndexEntrySize;
    std::size_t columnEntrySize;
    std::size_t columnNumberOffset;
    std::size_t columnVariableIndexOffset;
    std::size_t columnDecimalPlacesOffset;
    std::size_t columnFlagsOffset;
    std::size_t columnFixedOffsetOffset;
    std::size_t columnSizeOffset;
};

inline constexpr Layout Jet3Layout{
    .version = Version::Jet3,
    .name = "Jet 3",
    .pageSize = 2048,
    .maskedHeaderBytes = 126,
    .passwordBytes = 20,
    .characterBytes = 1,
    .signsDefinitions = true,
    .rowCountOffset = 0x08,
    .tableRowsOffset = 12,
    .tableColumnsOffset = 25,
    .tableRealIndexesOffset = 31,
    .tableUsageMapOffset = 35,
    .tableColumnsStart = 43,
    .realIndexEntrySize = 8,
    .columnEntrySize = 18,
    .columnNumberOffset = 1,
    .columnVariableIndexOffset = 3,
    .columnDecimalPlacesOffset = 10,
    .columnFlagsOffset = 13,
    .columnFixedOffsetOffset = 14,
    .columnSizeOffset = 16,
};
inline constexpr Layout Jet4Layout{
    .version = Version::Jet4,
    .name = "Jet 4",
    .pageSize = 4096,
    .maskedHeaderBytes = 128,
    .passwordBytes = 40,
    .characterBytes = 2,
    .signsDefinitions = false,
    .rowCountOffset = 0x0C,
    .tableRowsOffset = 16,
    .tableColumnsOffset = 45,
    .tableRealIndexesOffset = 51,
    .tableUsageMapOffset = 55,
    .tableColumnsStart = 63,
    .realIndexEntrySize = 12,
    .columnEntrySize = 25,
    .columnNumberOffset = 5,
    .columnVariableIndexOffset = 7,
    .columnDecimalPlacesOffset = 12,
    .columnFlagsOffset = 15,
    .columnFixedOffsetOffset = 21,
    .columnSizeOffset = 23,
};

inline const Layout& layoutOf(Version version) {
    return version == Version::Jet3 ? Jet3Layout : Jet4Layout;
}

// Page types, in a page's first byte.
inline constexpr std::uint8_t DataPageType = 0x01;
inline constexpr std::uint8_t DefinitionPageType = 0x02;

// Every Jet file defines its system table MSysObjects, the catalogue of its objects, on
// page 2.
inline constexpr std::uint32_t SystemObjectsPage = 2;
inline constexpr const char* SystemObjectsName = "MSysObjects";

// Column type codes as a table definition stores them.
namespace types {
inline constexpr int Boolean = 0x01;
inline constexpr int Byte = 0x02;
inline constexpr int Integer = 0x03;
inline constexpr int Long = 0x04;
inline constexpr int Currency = 0x05;
inline constexpr int Single = 0x06;
inline constexpr int Double = 0x07;
inline constexpr int DateTime = 0x08;
inline constexpr int Binary = 0x09;
inline constexpr int Text = 0x0A;
inline constexpr int Ole = 0x0B;
inline constexpr int Memo = 0x0C;
inline constexpr int ReplicationId = 0x0F;
inline constexpr int Numeric = 0x10;
inline constexpr int Complex = 0x12;
}  // namespace types

// The object type MSysObjects gives a table (its low seven bits).
inline constexpr std::uint32_t TableObject = 1;

}  // namespace tessaro::catalogue::jet
