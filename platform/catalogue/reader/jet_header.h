// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/catalogue/reader/jet_format.h"

namespace tessaro::catalogue {

// What the reader needs from a Jet file's header page.
struct JetHeader {
    jet::Version version = jet::Version::Jet3;
    int codePage = 0;
    // The key of the file's page encryption; 0 when its pages are stored plain.
    std::uint32_t encryptionKey = 0;
    // The database password as UTF-8; "" when the file has none.
    std::string password;
};

// Reads the header page of the open file fd. nullopt when the file is no Jet 3 or Jet 4
// database (too short, wrong page type or signature, unknown version); Damage when it is
// one whose header cannot be read (a Jet 4 creation date that is no date), or whose
// version byte names another version than the one its pages are laid out in.
std::optional<JetHeader> readJetHeader(int fd);

// Undoes the encryption of page `number` (every page after the header, when key is not
// 0): RC4 with the key mixed with the page's number.
void decryptPage(std::uint32_t key, std::uint32_t number, std::span<std::uint8_t> bytes);

}  // namespace tessaro::catalogue
