// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <map>
#include <mutex>

namespace tessaro::media {

// Tells listeners, from whatever thread a device finds it on, that a device changed by
// itself in a way no forecast foresaw (its stream ended, it failed while playing).
class ChangeSignal {
  public:
    using Listener = std::function<void()>;

    // Calls every listener; any thread.
    void raise() {
        std::lock_guard lock(mutex_);
        for (const auto& [id, listener] : listeners_)
            listener();
    }
    // Returns a number for stopListening.
    int listen(Listener listener) {
        std::lock_guard lock(mutex_);
        listeners_.emplace(++lastId_, std::move(listener));
        return lastId_;
    }
    // Returns once no call to that listener is under way; it is not called again.
    void stopListening(int id) {
        std::lock_guard lock(mutex_);
        listeners_.erase(id);
    }

  private:
    std::mutex mutex_;
    std::map<int, Listener> listeners_;
    int lastId_ = 0;
};

}  // namespace tessaro::media
