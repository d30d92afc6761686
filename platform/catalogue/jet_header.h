// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>

namespace tessaro::catalogue {

enum class JetVersion { Jet3, Jet4 };

// What the engine needs from a Jet file's header page.
struct JetHeader {
    JetVersion version = JetVersion::Jet3;
    int codePage = 0;
    // The database password as UTF-8; "" when the file has none.
    std::string password;
};

// Reads the header page of the open file fd. nullopt when the file is no Jet 3 or Jet 4
// database (too short, wrong page type or signature, unknown version); Damage when it is
// one whose header cannot be read (a Jet 4 creation date that is no date), or whose
// version byte names another version than the one its pages are laid out in.
std::optional<JetHeader> readJetHeader(int fd);

}  // namespace tessaro::catalogue
