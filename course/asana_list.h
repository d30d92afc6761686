// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <tessaro/catalogue.h>

namespace tessaro::course {

struct AsanaEntry {
    std::string name;
    std::string kind;        // "video" or "pictures", decided as the lookup decides
    std::int64_t clips = 0;  // rows of its clip or picture table; 0 when it has none
};

// The asanas of the catalogue of the course in folder, in stored order, read through
// engine (a host's, so that one process has one engine). Throws tessaro::Error when the
// catalogue cannot be opened or has no Asanas table.
std::vector<AsanaEntry> listAsanas(catalogue::Engine& engine, const std::string& folder);

}  // namespace tessaro::course
