// SPDX-License-Identifier: MIT
#pragma once

#include <exception>
#include <string>

#include <tessaro/export.h>

namespace tessaro {

// The one failure type that crosses the project's interfaces: a number from the
// platform's classic numbering (run-time, Jet or media errors) and a short text of our
// own that names what failed.
class TESSARO_EXPORT Error : public std::exception {
  public:
    Error(int number, std::string text) : number_(number), text_(std::move(text)) {}

    int number() const noexcept { return number_; }
    const std::string& text() const noexcept { return text_; }
    const char* what() const noexcept override { return text_.c_str(); }

  private:
    int number_;
    std::string text_;
};

// Run-time error numbers raised by value conversions.
namespace errors {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int InvalidUseOfNull = 94;
}  // namespace errors

}  // namespace tessaro
