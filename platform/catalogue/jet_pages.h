// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

// After the standard headers: GLib, which it includes, would otherwise pull
// <type_traits> into its extern "C" block.
#include <mdbtools.h>

#include "platform/catalogue/jet_damage.h"

namespace tessaro::catalogue {

// One page's bytes. Every read is checked against the page, so a value taken from the
// file that points outside it is Damage, never a read beyond the buffer.
class PageBytes {
  public:
    PageBytes(std::uint32_t number, std::vector<std::uint8_t> bytes)
        : number_(number), bytes_(std::move(bytes)) {}

    std::uint32_t number() const { return number_; }
    std::size_t size() const { return bytes_.size(); }
    std::uint8_t u8(std::size_t at) const { return span(at, 1)[0]; }
    std::uint16_t u16(std::size_t at) const;
    std::uint32_t u32(std::size_t at) const;
    std::uint64_t u64(std::size_t at) const;
    // count bytes from at; Damage when they do not all lie in the page.
    std::span<const std::uint8_t> span(std::size_t at, std::size_t count) const;

  private:
    std::uint32_t number_;
    std::vector<std::uint8_t> bytes_;
};

// The pages of an open Jet file as libmdb reads them (it undoes the page encryption).
// A page number is checked against the file's size before libmdb is asked for it, so
// libmdb never reads past the end of the file nor complains about it on stderr.
class JetPages {
  public:
    // mdb is open on a file of fileBytes bytes; it stays owned by the caller.
    JetPages(MdbHandle* mdb, std::uint64_t fileBytes);

    bool isJet3() const { return jet3_; }
    std::size_t pageSize() const { return pageSize_; }
    std::uint32_t count() const { return count_; }
    std::uint64_t fileBytes() const { return fileBytes_; }
    const MdbFormatConstants& format() const { return *format_; }

    // Throws Damage for a page the file does not hold.
    PageBytes read(std::uint32_t number) const;
    // The file's text (its code page, or Jet 4's UCS-2 and compressed forms) as UTF-8.
    std::string text(std::span<const std::uint8_t> stored) const;

  private:
    MdbHandle* mdb_;
    const MdbFormatConstants* format_;
    bool jet3_;
    std::size_t pageSize_;
    std::uint64_t fileBytes_;
    std::uint32_t count_;
};

}  // namespace tessaro::catalogue
