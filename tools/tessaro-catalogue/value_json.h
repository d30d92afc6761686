// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include <nlohmann/json.hpp>

#include <tessaro/variant.h>

namespace tessaro::tools {

// A catalogue value as JSON: numbers as numbers, text as a string, null (and empty) as null.
inline nlohmann::ordered_json valueJson(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Integer:
            return static_cast<std::int64_t>(value.toDouble());
        case Variant::Kind::Double:
            return value.toDouble();
        case Variant::Kind::Text:
            return value.toText();
        default:
            return nullptr;
    }
}

}  // namespace tessaro::tools
