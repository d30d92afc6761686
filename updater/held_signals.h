// SPDX-License-Identifier: MIT
#pragma once

#include <csignal>

namespace mendrick {

// While alive, SIGINT, SIGTERM, SIGHUP and SIGQUIT only take note that they came, in
// whichever thread they reach. When it ends, the former handling comes back and the first
// signal that came is raised again, so the program ends by it only after its owner has
// cleaned up. Declare it before what must be cleaned up.
class HeldSignals {
  public:
    HeldSignals();
    ~HeldSignals();
    HeldSignals(const HeldSignals&) = delete;
    HeldSignals& operator=(const HeldSignals&) = delete;

    // True once one of the signals has come: the work should be given up.
    bool interrupted() const;

  private:
    struct sigaction former_[4];
};

}  // namespace mendrick
