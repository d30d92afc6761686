// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace tessaro::media {

// Remembers which failures have been reported, so that a command the control repeats on
// every timer tick (for instance "pause video" on a device that failed to open) raises
// one report rather than one per tick.
class FailureReports {
  public:
    // True the first time a failure (verb, error number) on a device is seen since that
    // device was last opened; false for its repeats.
    bool firstTime(std::string_view device, std::string_view verb, int number);
    // The device is being opened again: its failures are reported afresh.
    void forget(std::string_view device);

  private:
    std::map<std::string, std::set<std::pair<std::string, int>>, std::less<>> seen_;
};

}  // namespace tessaro::media
