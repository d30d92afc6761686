// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tessaro::qt {

// A new window handle for a child control: a small positive number, unique in the
// process, so that it reads back unchanged from the signed 32-bit decimal the media
// commands carry.
std::intptr_t nextWindowHandle();

}  // namespace tessaro::qt
