// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/catalogue/reader/byte_view.h"
#include "platform/catalogue/reader/jet_format.h"
#include "platform/catalogue/reader/jet_header.h"
#include "platform/catalogue/reader/jet_text.h"

namespace tessaro::catalogue {

// The pages of an open Jet file, decrypted, and the file's text. Its header is read once,
// on opening. A page number is checked against the file's size, so no read goes past its
// end. The page read last is kept, as rows are mostly read from the page of the row
// before. Not safe to share between threads.
class JetPages {
  public:
    // Opens the file at path for reading. Throws tessaro::Error 3343 naming displayPath when
    // it cannot be read, is no Jet 3 or Jet 4 database, or its header is damaged.
    JetPages(const std::string& path, const std::string& displayPath);
    ~JetPages();
    JetPages(const JetPages&) = delete;
    JetPages& operator=(const JetPages&) = delete;

    const JetHeader& header() const { return header_; }
    const jet::Layout& layout() const { return layout_; }
    bool isJet3() const { return header_.version == jet::Version::Jet3; }
    std::size_t pageSize() const { return layout_.pageSize; }
    std::uint32_t count() const { return count_; }
    std::uint64_t fileBytes() const { return fileBytes_; }

    // Throws Damage for a page the file does not hold.
    ByteView read(std::uint32_t number) const;
    // The file's stored text as UTF-8.
    std::string text(std::span<const std::uint8_t> stored) const { return text_.utf8(stored); }

  private:
    int fd_;
    JetHeader header_;
    const jet::Layout& layout_;
    std::uint64_t fileBytes_;
    std::uint32_t count_;
    JetText text_;
    mutable std::optional<ByteView> last_;
};

}  // namespace tessaro::catalogue
