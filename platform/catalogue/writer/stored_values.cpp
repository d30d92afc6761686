// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/stored_values.h"

#include <bit>

#include "platform/catalogue/writer/byte_order.h"

namespace tessaro::catalogue::jet3 {

StoredValue storedInteger(std::int16_t value) {
    Bytes bytes;
    appendU16(bytes, static_cast<std::uint16_t>(value));
    return StoredValue::data(std::move(bytes));
}

StoredValue storedLong(std::int32_t value) {
    Bytes bytes;
    appendU32(bytes, static_cast<std::uint32_t>(value));
    return StoredValue::data(std::move(bytes));
}

StoredValue storedDouble(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    Bytes bytes;
    appendU32(bytes, static_cast<std::uint32_t>(bits));
    appendU32(bytes, static_cast<std::uint32_t>(bits >> 32));
    return StoredValue::data(std::move(bytes));
}

StoredValue storedText(std::string_view codePageText) {
    return StoredValue::data(Bytes(codePageText.begin(), codePageText.end()));
}

}  // namespace tessaro::catalogue::jet3
