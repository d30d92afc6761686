// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/catalogue/reader/jet_format.h"

namespace tessaro::catalogue {

// A Jet file's stored text as UTF-8: Jet 3 text in the file's code page (1252 for a code
// page without a known character set), Jet 4 text as UCS-2 little-endian or in Jet's
// compressed form (marked by the bytes FF FE, runs of one-byte characters switched with a
// zero byte). A character that cannot be converted reads as '?'; a last odd byte of Jet 4
// text is dropped; zero characters are kept. Not safe to share between threads.
class JetText {
  public:
    JetText(jet::Version version, int codePage);
    ~JetText();
    JetText(const JetText&) = delete;
    JetText& operator=(const JetText&) = delete;

    std::string utf8(std::span<const std::uint8_t> stored) const;

  private:
    jet::Version version_;
    void* converter_;
};

}  // namespace tessaro::catalogue
