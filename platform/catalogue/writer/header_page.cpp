// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/header_page.h"

#include <algorithm>
#include <array>

#include "platform/catalogue/jet_header_mask.h"
#include "platform/catalogue/writer/byte_order.h"

namespace tessaro::catalogue::jet3 {
namespace {

constexpr std::string_view FormatName = "Standard Jet DB";
constexpr std::size_t FormatNameOffset = 0x04;
constexpr std::size_t VersionOffset = 0x14;
constexpr std::uint8_t Jet3Version = 0;
constexpr std::size_t SortOrderOffset = 0x3A;
constexpr std::size_t CodePageOffset = 0x3C;

// The constant part of the masked area as Access 97 writes it.
void writeMaskedDefaults(Bytes& page) {
    constexpr std::array<std::uint8_t, 24> Defaults = {
        0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
        0x03, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x05, 0x00, 0x00, 0x00};
    std::copy(Defaults.begin(), Defaults.end(), page.begin() + MaskedAreaOffset);
    page[0x38] = 0x01;
    page[0x56] = 0x1e;
    page[0x57] = 0x25;
}

}  // namespace

void maskHeaderArea(std::span<std::uint8_t> page) {
    maskJetHeader(page.subspan(MaskedAreaOffset, MaskedAreaSize));
}

Bytes headerPage(std::string_view password) {
    Bytes page(PageSize, std::uint8_t{0});
    storeU32(page, 0, 0x00000100);
    std::copy(FormatName.begin(), FormatName.end(), page.begin() + FormatNameOffset);
    page[VersionOffset] = Jet3Version;
    writeMaskedDefaults(page);
    storeU16(page, SortOrderOffset, GeneralSortOrder);
    storeU16(page, CodePageOffset, CodePage1252);
    std::copy(password.begin(), password.end(), page.begin() + PasswordOffset);
    maskHeaderArea(page);
    return page;
}

}  // namespace tessaro::catalogue::jet3
