// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include <tessaro/error.h>
#include <tessaro/export.h>

namespace tessaro {

// An untyped value as the catalogue engine hands it out: empty (never assigned), null,
// integer, double or text (UTF-8). Converted where it is used; each conversion throws
// tessaro::Error with the run-time's number when it cannot be made.
class TESSARO_EXPORT Variant {
  public:
    enum class Kind { Empty, Null, Integer, Double, Text };

    Variant() = default;
    Variant(int value) : value_(std::int64_t{value}) {}
    Variant(std::int64_t value) : value_(value) {}
    Variant(double value) : value_(value) {}
    Variant(std::string value) : value_(std::move(value)) {}
    Variant(const char* value) : value_(std::string(value)) {}
    static Variant null() {
        Variant v;
        v.value_ = NullValue{};
        return v;
    }

    Kind kind() const { return static_cast<Kind>(value_.index()); }
    bool isEmpty() const { return kind() == Kind::Empty; }
    bool isNull() const { return kind() == Kind::Null; }

    // Text form. Null fails with 94; empty gives ""; numbers as plain decimals
    // (up to 15 significant digits for doubles).
    std::string toText() const;

    // 16-bit signed integer, halves rounded to even. Null fails with 94, text that is
    // no number with 13, a value outside -32768..32767 with 6. Empty gives 0.
    std::int16_t toInt16() const;

    // Double. Null fails with 94, text that is no number with 13. Empty gives 0.
    double toDouble() const;

    // Untyped comparison with a text: only a text value can match, letter case counting.
    // Null never matches.
    bool equalsText(std::string_view text) const;

    bool operator==(const Variant&) const = default;

  private:
    struct NullValue {
        bool operator==(const NullValue&) const = default;
    };
    std::variant<std::monostate, NullValue, std::int64_t, double, std::string> value_;
};

// Renders a value for diagnostics and test messages: `null`, `empty`, `7`, `"text"`.
TESSARO_EXPORT std::string describe(const Variant& value);

}  // namespace tessaro
