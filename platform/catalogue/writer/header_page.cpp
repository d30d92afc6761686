#include "platform/catalogue/writer/header_page.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/catalogue/writer/byte_order.h"

namespace tessaro::catalogue::jet3 {
namespace {

constexpr std::array<std::uint8_t, 4> HeaderKey = {0xC7, 0xDA, 0x39, 0x6B};
constexpr std::string_view FormatName = "Standard Jet DB";
constexpr std::size_t FormatNameOffset = 0x04;
constexpr std::size_t VersionOffset = 0x14;
constexpr std::uint8_t Jet3Version = 0;
constexpr std::size_t SortOrderOffset = 0x3A;
constexpr std::size_t CodePageOffset = 0x3C;

void rc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> data) {
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i) {
        state[i] = static_cast<std::uint8_t>(i);
    }
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    for (auto& byte : data) {
        x = static_cast<std::uint8_t>(x + 1);
        y = static_cast<std::uint8_t>(y + state[x]);
        std::swap(state[x], state[y]);
        byte ^= state[static_cast<std::uint8_t>(state[x] + state[y])];
    }
}

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
    rc4(HeaderKey, page.subspan(MaskedAreaOffset, MaskedAreaSize));
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
