// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include <tessaro/variant.h>

namespace tessaro {

// The asana number written as a table-name suffix: the number in its text form with a
// sign position, trimmed ("7", "-3"); never a blank or leading zeros. Fails as
// toDouble does (null 94, non-numeric text 13). Inline: the tools that list a course
// link the control's library, which keeps it to itself.
inline std::string asanaNumberText(const Variant& asanaId) {
    if (asanaId.kind() == Variant::Kind::Integer)
        return asanaId.toText();
    return Variant(asanaId.toDouble()).toText();
}

}  // namespace tessaro
