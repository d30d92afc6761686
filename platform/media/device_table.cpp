// SPDX-License-Identifier: MIT
#include "platform/media/device_table.h"

#include "platform/paths/paths.h"

namespace tessaro::media {

Device* DeviceTable::find(std::string_view name) {
    const auto found = devices_.find(paths::foldCase(name));
    return found == devices_.end() ? nullptr : &found->second;
}

void DeviceTable::add(std::string_view name, std::unique_ptr<Player> player) {
    devices_[paths::foldCase(name)] = Device{std::move(player), TimeFormat::Milliseconds};
}

bool DeviceTable::remove(std::string_view name) {
    return devices_.erase(paths::foldCase(name)) > 0;
}

void DeviceTable::removeAll() {
    devices_.clear();
}

}  // namespace tessaro::media
