// SPDX-License-Identifier: MIT
#include "platform/catalogue/jet_header.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/catalogue/code_page_text.h"
#include "platform/catalogue/jet_damage.h"
#include "platform/catalogue/jet_header_mask.h"

namespace tessaro::catalogue {
namespace {

// Header layout shared by Jet 3 and Jet 4 (mdbtools' HACKING, Jackcess, mdb-reader).
constexpr std::size_t SignatureOffset = 4;
constexpr std::string_view Signature{"Standard Jet DB\0", 16};
constexpr std::size_t VersionOffset = 0x14;
constexpr std::size_t MaskedStart = 0x18;
constexpr std::size_t CodePageOffset = 0x3C;
constexpr std::size_t PasswordOffset = 0x42;
constexpr std::size_t Jet4CreationDateOffset = 0x72;
constexpr std::size_t HeaderBytes = 0x100;

struct VersionLayout {
    std::size_t maskedBytes;
    std::size_t passwordBytes;
};
constexpr VersionLayout Jet3Layout{126, 20};
constexpr VersionLayout Jet4Layout{128, 40};

// Days since 1899-12-30 of the first and past the last date Jet stores (years 100 to 9999).
constexpr double FirstJetDay = -657434;
constexpr double PastLastJetDay = 2958466;

// Jet 4 masks its password a second time with the integer part of the file's creation
// date, repeated over the password's bytes.
void unmaskJet4Password(const unsigned char* header, unsigned char* password, std::size_t length) {
    double created = 0;
    std::memcpy(&created, header + Jet4CreationDateOffset, sizeof created);
    // Also false for NaN, which no integer conversion may see.
    if (!(created >= FirstJetDay && created < PastLastJetDay))
        throw Damage("its header's creation date is no date");
    const auto days = static_cast<std::uint32_t>(static_cast<std::int32_t>(created));
    for (std::size_t i = 0; i < length; ++i)
        password[i] ^= static_cast<unsigned char>(days >> (8 * (i % 4)));
}

std::string beforeNul(std::string text) {
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

}  // namespace

std::optional<JetHeader> readJetHeader(int fd) {
    std::array<unsigned char, HeaderBytes> page{};
    if (::pread(fd, page.data(), page.size(), 0) != static_cast<ssize_t>(page.size()))
        return std::nullopt;
    const std::string_view raw(reinterpret_cast<const char*>(page.data()), page.size());
    if (page[0] != 0 || raw.substr(SignatureOffset, Signature.size()) != Signature)
        return std::nullopt;

    JetHeader header;
    if (page[VersionOffset] == 0)
        header.version = JetVersion::Jet3;
    else if (page[VersionOffset] == 1)
        header.version = JetVersion::Jet4;
    else
        return std::nullopt;
    const VersionLayout layout = header.version == JetVersion::Jet3 ? Jet3Layout : Jet4Layout;

    maskJetHeader(std::span(page).subspan(MaskedStart, layout.maskedBytes));
    header.codePage = page[CodePageOffset] | (page[CodePageOffset + 1] << 8);

    unsigned char* password = page.data() + PasswordOffset;
    if (header.version == JetVersion::Jet4)
        unmaskJet4Password(page.data(), password, layout.passwordBytes);
    const std::string_view stored(reinterpret_cast<const char*>(password), layout.passwordBytes);
    header.password =
        beforeNul(header.version == JetVersion::Jet3 ? codePageToUtf8(stored, header.codePage)
                                                     : jet4TextToUtf8(stored));
    return header;
}

}  // namespace tessaro::catalogue
