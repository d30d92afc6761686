// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/catalogue/writer/jet3_format.h"

// Little-endian integers, the byte order of every number in a Jet file.
namespace tessaro::catalogue::jet3 {

inline void appendU8(Bytes& out, std::uint8_t value) {
    out.push_back(value);
}

inline void appendU16(Bytes& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void appendU32(Bytes& out, std::uint32_t value) {
    appendU16(out, static_cast<std::uint16_t>(value));
    appendU16(out, static_cast<std::uint16_t>(value >> 16));
}

inline void storeU16(Bytes& out, std::size_t offset, std::uint16_t value) {
    out.at(offset) = static_cast<std::uint8_t>(value);
    out.at(offset + 1) = static_cast<std::uint8_t>(value >> 8);
}

inline void storeU32(Bytes& out, std::size_t offset, std::uint32_t value) {
    storeU16(out, offset, static_cast<std::uint16_t>(value));
    storeU16(out, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace tessaro::catalogue::jet3
