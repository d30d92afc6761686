// SPDX-License-Identifier: MIT
#include "qt/window_handles.h"

#include <atomic>

namespace tessaro::qt {

std::intptr_t nextWindowHandle() {
    static std::atomic<std::intptr_t> last{0};
    return ++last;
}

}  // namespace tessaro::qt
