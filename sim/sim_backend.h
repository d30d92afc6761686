// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/media/player_backend.h"
#include "sim/virtual_clock.h"

namespace tessaro::media {

// Players on a virtual clock, for tests and benchmarks. Only declared files open; a
// playing device advances as the clock does and stops at its length.
class SimBackend : public PlayerBackend {
  public:
    explicit SimBackend(sim::VirtualClock& clock);
    ~SimBackend() override;

    // Declares a playable file at a Windows-style path (matched as paths::resolve
    // matches: separators unified, case-blind). frameRate 0 means audio only.
    void declareMedia(std::string_view path, double lengthMs, double frameRate = 0);
    // Declares a file that exists but cannot be decoded (open fails with 296).
    void declareUndecodable(std::string_view path);

    // Undeclared paths fail with 275.
    std::unique_ptr<Player> open(const std::string& path, std::intptr_t parentWindow) override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace tessaro::media
