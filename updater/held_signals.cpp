// SPDX-License-Identifier: MIT
#include "updater/held_signals.h"

namespace mendrick {
namespace {

constexpr int Held[4] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile std::sig_atomic_t received = 0;

void takeNote(int signal) {
    if (received == 0)
        received = signal;
}

}  // namespace

HeldSignals::HeldSignals() {
    received = 0;
    struct sigaction noting {};
    noting.sa_handler = takeNote;
    noting.sa_flags = SA_RESTART;
    sigfillset(&noting.sa_mask);
    for (int i = 0; i < 4; ++i)
        ::sigaction(Held[i], &noting, &former_[i]);
}

HeldSignals::~HeldSignals() {
    for (int i = 0; i < 4; ++i)
        ::sigaction(Held[i], &former_[i], nullptr);
    if (received != 0)
        ::raise(received);
}

bool HeldSignals::interrupted() const {
    return received != 0;
}

}  // namespace mendrick
