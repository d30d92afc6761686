// SPDX-License-Identifier: MIT
#pragma once

#include <exception>
#include <functional>
#include <string>

#include <tessaro/export.h>

namespace tessaro::qt {

// Shows a message to the user: the control's own message boxes and the media service's
// error reports go through here.
using MessagePresenter = std::function<void(const std::string& text)>;

// Replaces how messages are shown (a command-line host prints them to stderr, a test
// records them). An empty presenter restores the default: a modal QMessageBox with an
// OK button only, no icon, titled with the application's name.
TESSARO_EXPORT void setMessagePresenter(MessagePresenter presenter);

// Shows the text through the installed presenter; returns when it has been dismissed.
TESSARO_EXPORT void presentMessage(const std::string& text);

// The text shown for a failure that reached the host: "Run-time error 'N':" and the
// failure's own text for a tessaro::Error, the bare text otherwise.
TESSARO_EXPORT std::string describeFailure(const std::exception& failure);

// Routes the process media service's error reports to presentMessage. Safe to call more
// than once; only the first call installs the reporter.
TESSARO_EXPORT void installMediaErrorReporter();

}  // namespace tessaro::qt
