// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tessaro/catalogue.h>

namespace tessaro::play {

struct AsanaEntry {
    std::string name;
    std::string kind;        // "video" or "pictures", decided as the lookup decides
    std::int64_t clips = 0;  // rows of its clip or picture table; 0 when it has none
};

// The asanas of the catalogue below the course folder, in stored order. Throws
// tessaro::Error when the catalogue cannot be opened or has no Asanas table.
std::vector<AsanaEntry> listAsanas(catalogue::Engine& engine, const std::string& resourceDir);

}  // namespace tessaro::play
