// SPDX-License-Identifier: MIT
#pragma once

#include <stdexcept>

namespace tessaro::catalogue {

// A fault in a catalogue file's structure: a length, count, offset, page number or date
// that the file cannot hold. The engine reports it as error 3343 naming the table and
// column where it was found.
class Damage : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

}  // namespace tessaro::catalogue
