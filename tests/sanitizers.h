// SPDX-License-Identifier: MIT
#pragma once

// Whether this build runs under AddressSanitizer, which reserves terabytes of address
// space for its shadow memory: limits on the address space cannot apply there.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool UnderAddressSanitizer = true;
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif
