// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

#include <tessaro/error.h>

namespace tessaro {

// How a method meets a failing step. A step is a statement or a few that store nothing
// before their last call can fail; a test is the condition of an if.
class ErrorMode {
  public:
    virtual ~ErrorMode() = default;
    // Runs the step; true when it completed.
    virtual bool step(const std::function<void()>& body) = 0;
    // Evaluates the condition.
    virtual bool test(const std::function<bool()>& condition) = 0;
};

// No error mode: the first tessaro::Error leaves the method, steps done stay done.
class NoErrorMode final : public ErrorMode {
  public:
    bool step(const std::function<void()>& body) override {
        body();
        return true;
    }
    bool test(const std::function<bool()>& condition) override { return condition(); }
};

// Ignore-and-continue: a failing step is abandoned where it failed, its number becomes
// the last recorded error and the method goes on; a condition that fails counts as true.
class IgnoreAndContinue final : public ErrorMode {
  public:
    // Enters the mode with no error recorded.
    explicit IgnoreAndContinue(int& lastError) : lastError_(lastError) { lastError_ = 0; }

    bool step(const std::function<void()>& body) override {
        try {
            body();
            return true;
        } catch (const Error& e) {
            lastError_ = e.number();
            return false;
        }
    }
    bool test(const std::function<bool()>& condition) override {
        try {
            return condition();
        } catch (const Error& e) {
            lastError_ = e.number();
            return true;
        }
    }

  private:
    int& lastError_;
};

}  // namespace tessaro
