// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <QWidget>

namespace mendrick {

// The updater's one window: a label telling the user that the update runs. The update
// happens while the window is loading, so it is normally closed before it is drawn.
class UpdaterWindow : public QWidget {
  public:
    UpdaterWindow();

  private:
    QLabel* label_;
};

}  // namespace mendrick
