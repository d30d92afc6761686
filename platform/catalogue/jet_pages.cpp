// SPDX-License-Identifier: MIT
#include "platform/catalogue/jet_pages.h"

#include <algorithm>

namespace tessaro::catalogue {

std::span<const std::uint8_t> PageBytes::span(std::size_t at, std::size_t count) const {
    if (at > bytes_.size() || count > bytes_.size() - at)
        throw Damage("a value reaches past the end of page " + std::to_string(number_));
    return std::span(bytes_).subspan(at, count);
}

std::uint16_t PageBytes::u16(std::size_t at) const {
    const auto b = span(at, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t PageBytes::u32(std::size_t at) const {
    return u16(at) | (std::uint32_t{u16(at + 2)} << 16);
}

std::uint64_t PageBytes::u64(std::size_t at) const {
    return u32(at) | (std::uint64_t{u32(at + 4)} << 32);
}

JetPages::JetPages(MdbHandle* mdb, std::uint64_t fileBytes)
    : mdb_(mdb),
      format_(mdb->fmt),
      jet3_(mdb->f->jet_version == MDB_VER_JET3),
      pageSize_(static_cast<std::size_t>(mdb->fmt->pg_size)),
      fileBytes_(fileBytes),
      count_(
          static_cast<std::uint32_t>(std::min<std::uint64_t>(fileBytes / pageSize_, UINT32_MAX))) {}

PageBytes JetPages::read(std::uint32_t number) const {
    if (number >= count_)
        throw Damage("page " + std::to_string(number) + " lies past the end of the file (" +
                     std::to_string(count_) + " pages)");
    if (mdb_read_pg(mdb_, number) != static_cast<ssize_t>(pageSize_))
        throw Damage("page " + std::to_string(number) + " cannot be read");
    return PageBytes(number, std::vector<std::uint8_t>(mdb_->pg_buf, mdb_->pg_buf + pageSize_));
}

std::string JetPages::text(std::span<const std::uint8_t> stored) const {
    if (stored.empty())
        return {};
    // UTF-8 takes at most three bytes for each stored byte, whatever the form.
    std::vector<char> buffer(stored.size() * 3 + 16, '\0');
    const int length = mdb_unicode2ascii(mdb_, reinterpret_cast<const char*>(stored.data()),
                                         stored.size(), buffer.data(), buffer.size());
    // The whole text, zero characters included; never more than the buffer holds.
    return std::string(buffer.data(),
                       std::clamp<std::size_t>(static_cast<std::size_t>(std::max(length, 0)), 0,
                                               buffer.size() - 1));
}

}  // namespace tessaro::catalogue
