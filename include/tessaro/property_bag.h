// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

#include <tessaro/export.h>
#include <tessaro/variant.h>

namespace tessaro::host {

// The host's store for a control's persisted properties (its saved window).
class TESSARO_EXPORT PropertyBag {
  public:
    virtual ~PropertyBag() = default;

    // The stored value of the key, or defaultValue when the key is not stored.
    virtual Variant read(std::string_view key, const Variant& defaultValue) = 0;
    // Stores the value; a value equal to defaultValue is not stored (an earlier stored
    // value of the key is removed).
    virtual void write(std::string_view key, const Variant& value, const Variant& defaultValue) = 0;
};

}  // namespace tessaro::host
