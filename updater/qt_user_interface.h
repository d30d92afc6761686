// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

#include "updater/user_interface.h"

namespace mendrick {

// Boxes as modal Qt message boxes over the updater's window, or, when unattended, as
// "title: text" lines on standard output. Yielding runs pending Qt events once.
class QtUserInterface : public UserInterface {
  public:
    QtUserInterface(QWidget& window, bool unattended);

    void showMessage(std::string_view title, std::string_view text) override;
    void yield() override;

  private:
    QWidget& window_;
    bool unattended_;
};

}  // namespace mendrick
