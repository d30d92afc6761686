// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

#include "platform/catalogue/writer/jet3_format.h"

namespace tessaro::catalogue::jet3 {

// Offsets and size of the RC4-masked area of page 0 and of the database password in it.
inline constexpr std::size_t MaskedAreaOffset = 0x18;
inline constexpr std::size_t MaskedAreaSize = 126;
inline constexpr std::size_t PasswordOffset = 0x42;
inline constexpr std::size_t MaxPasswordLength = 20;

// Masks (or unmasks: the operation is its own inverse) the header area of page 0 with the
// fixed RC4 key every Jet file uses.
void maskHeaderArea(std::span<std::uint8_t> page);

// Page 0: the magic, "Standard Jet DB", version 0 (Jet 3), and the masked area holding
// the sort order, code page 1252, a zero encryption key and the database password
// (code page 1252 bytes, at most MaxPasswordLength; empty for none).
Bytes headerPage(std::string_view password);

}  // namespace tessaro::catalogue::jet3
