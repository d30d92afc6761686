// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace mendrick {

// What the update procedure needs from its surroundings: a way to tell the user something
// and a way to let pending window work run. Implementations decide whether a box is a
// window or a line of text.
class UserInterface {
  public:
    virtual ~UserInterface() = default;

    // Shows a modal box with an OK button only; returns when the user has dismissed it.
    virtual void showMessage(std::string_view title, std::string_view text) = 0;

    // Lets pending window messages run once and returns.
    virtual void yield() = 0;
};

}  // namespace mendrick
