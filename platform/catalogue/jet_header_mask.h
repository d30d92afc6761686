// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <utility>

namespace tessaro::catalogue {

// XORs region with the RC4 stream of key, the cipher of Jet's header mask and of its page
// encryption; applying it twice gives the region back.
inline void applyRc4(std::span<const std::uint8_t> key, std::span<std::uint8_t> region) {
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i)
        state[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t x = 0;
    std::uint8_t y = 0;
    for (auto& byte : region) {
        x = static_cast<std::uint8_t>(x + 1);
        y = static_cast<std::uint8_t>(y + state[x]);
        std::swap(state[x], state[y]);
        byte ^= state[static_cast<std::uint8_t>(state[x] + state[y])];
    }
}

// Every Jet file scrambles the fixed region of its header page (from offset 0x18) with the
// RC4 stream of one constant key. Masking and unmasking are the same operation; the
// engine reads through it and the writer writes through it.
inline void maskJetHeader(std::span<std::uint8_t> region) {
    constexpr std::array<std::uint8_t, 4> Key{0xC7, 0xDA, 0x39, 0x6B};
    applyRc4(Key, region);
}

}  // namespace tessaro::catalogue
