// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/media/player_backend.h"
#include "platform/media/time_format.h"

namespace tessaro::media {

struct Device {
    std::unique_ptr<Player> player;
    TimeFormat timeFormat = TimeFormat::Milliseconds;
    // The last "status mode" reply said "playing".
    bool seenPlaying = false;
};

// The open devices by name (alias, or element when opened without one), case-blind.
class DeviceTable {
  public:
    // nullptr when no device of that name is open.
    Device* find(std::string_view name);
    void add(std::string_view name, std::unique_ptr<Player> player);
    // False when no device of that name was open.
    bool remove(std::string_view name);
    void removeAll();

  private:
    std::map<std::string, Device, std::less<>> devices_;
};

}  // namespace tessaro::media
