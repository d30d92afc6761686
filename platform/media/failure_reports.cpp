// SPDX-License-Identifier: MIT
#include "platform/media/failure_reports.h"

#include "platform/paths/paths.h"

namespace tessaro::media {

bool FailureReports::firstTime(std::string_view device, std::string_view verb, int number) {
    return seen_[paths::foldCase(device)].emplace(std::string(verb), number).second;
}

void FailureReports::forget(std::string_view device) {
    seen_.erase(paths::foldCase(device));
}

}  // namespace tessaro::media
