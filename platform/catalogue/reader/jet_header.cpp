// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_header.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "platform/catalogue/jet_header_mask.h"
#include "platform/catalogue/reader/jet_damage.h"
#include "platform/catalogue/reader/jet_text.h"

namespace tessaro::catalogue {
namespace {

using jet::Layout;

// Header layout shared by Jet 3 and Jet 4.
constexpr std::size_t SignatureOffset = 4;
constexpr std::string_view Signature{"Standard Jet DB\0", 16};
constexpr std::size_t VersionOffset = 0x14;
constexpr std::size_t MaskedStart = 0x18;
constexpr std::size_t CodePageOffset = 0x3C;
constexpr std::size_t EncryptionKeyOffset = 0x3E;
constexpr std::size_t PasswordOffset = 0x42;
constexpr std::size_t Jet4CreationDateOffset = 0x72;
constexpr std::size_t HeaderBytes = 0x100;

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

// Whether page 2, read in the page size of layout (and decrypted with the file's key),
// starts as layout's table definitions start.
bool definesSystemTable(int fd, const Layout& layout, std::uint32_t key) {
    std::array<std::uint8_t, 4> start{};
    const auto at = static_cast<off_t>(jet::SystemObjectsPage * layout.pageSize);
    if (::pread(fd, start.data(), start.size(), at) != static_cast<ssize_t>(start.size()))
        return false;
    decryptPage(key, jet::SystemObjectsPage, start);
    const bool signedVC = start[2] == 'V' && start[3] == 'C';
    return start[0] == jet::DefinitionPageType && signedVC == layout.signsDefinitions;
}

// The version byte decides how every other page is read, and a Jet 4 password read as
// Jet 3's is noise: a file whose pages are of the other version is damage, told before
// any password is compared.
void checkPagesAgreeWith(int fd, const Layout& claimed, const Layout& other, std::uint32_t key) {
    if (!definesSystemTable(fd, claimed, key) && definesSystemTable(fd, other, key))
        throw Damage(std::string("its header says ") + claimed.name + ", but its pages are " +
                     other.name + "'s: the system table is defined on page 2 of " +
                     std::to_string(other.pageSize) + " bytes");
}

std::string beforeNul(std::string text) {
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

}  // namespace

void decryptPage(std::uint32_t key, std::uint32_t number, std::span<std::uint8_t> bytes) {
    if (key == 0 || number == 0)
        return;
    const std::uint32_t pageKey = key ^ number;
    const std::array<std::uint8_t, 4> keyBytes{
        static_cast<std::uint8_t>(pageKey), static_cast<std::uint8_t>(pageKey >> 8),
        static_cast<std::uint8_t>(pageKey >> 16), static_cast<std::uint8_t>(pageKey >> 24)};
    applyRc4(keyBytes, bytes);
}

std::optional<JetHeader> readJetHeader(int fd) {
    std::array<unsigned char, HeaderBytes> page{};
    if (::pread(fd, page.data(), page.size(), 0) != static_cast<ssize_t>(page.size()))
        return std::nullopt;
    const std::string_view raw(reinterpret_cast<const char*>(page.data()), page.size());
    if (page[0] != 0 || raw.substr(SignatureOffset, Signature.size()) != Signature)
        return std::nullopt;

    JetHeader header;
    if (page[VersionOffset] == 0)
        header.version = jet::Version::Jet3;
    else if (page[VersionOffset] == 1)
        header.version = jet::Version::Jet4;
    else
        return std::nullopt;
    const Layout& layout = jet::layoutOf(header.version);
    const bool jet3 = header.version == jet::Version::Jet3;

    maskJetHeader(std::span(page).subspan(MaskedStart, layout.maskedHeaderBytes));
    header.encryptionKey = page[EncryptionKeyOffset] | (page[EncryptionKeyOffset + 1] << 8) |
                           (page[EncryptionKeyOffset + 2] << 16) |
                           (std::uint32_t{page[EncryptionKeyOffset + 3]} << 24);
    checkPagesAgreeWith(fd, layout, jet3 ? jet::Jet4Layout : jet::Jet3Layout, header.encryptionKey);
    header.codePage = page[CodePageOffset] | (page[CodePageOffset + 1] << 8);

    unsigned char* password = page.data() + PasswordOffset;
    if (!jet3)
        unmaskJet4Password(page.data(), password, layout.passwordBytes);
    header.password = beforeNul(
        JetText(header.version, header.codePage).utf8(std::span(password, layout.passwordBytes)));
    return header;
}

}  // namespace tessaro::catalogue
