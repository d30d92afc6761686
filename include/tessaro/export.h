// SPDX-License-Identifier: MIT
#pragma once

// TESSARO_EXPORT marks the library's public API. libTessaro is built with every symbol
// hidden by default (-fvisibility=hidden), so only what carries this mark is exported;
// the catalogue engine, the media interpreter and the backends stay inside.
#if !defined(TESSARO_EXPORT)
#define TESSARO_EXPORT __attribute__((visibility("default")))
#endif
