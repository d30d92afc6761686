// SPDX-License-Identifier: MIT
#include <tessaro/variant.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tessaro {
namespace {

std::string formatDouble(double value) {
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        return std::to_string(static_cast<std::int64_t>(value));
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

double parseNumber(const std::string& text) {
    const std::string trimmed(trimBlanks(text));
    if (trimmed.empty())
        throw Error(errors::TypeMismatch, "Type mismatch: empty text is no number");
    char* end = nullptr;
    const double value = std::strtod(trimmed.c_str(), &end);
    if (end != trimmed.c_str() + trimmed.size() || std::isnan(value)) {
        throw Error(errors::TypeMismatch, "Type mismatch: \"" + text + "\" is no number");
    }
    return value;
}

[[noreturn]] void failNull(const char* target) {
    throw Error(errors::InvalidUseOfNull,
                std::string("Invalid use of Null: null read as ") + target);
}

std::int16_t fitInt16(double rounded) {
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max())) {
        throw Error(errors::Overflow,
                    "Overflow: " + formatDouble(rounded) + " is no 16-bit integer");
    }
    return static_cast<std::int16_t>(rounded);
}

}  // namespace

std::string Variant::toText() const {
    switch (kind()) {
        case Kind::Empty:
            return {};
        case Kind::Null:
            failNull("text");
        case Kind::Integer:
            return std::to_string(std::get<std::int64_t>(value_));
        case Kind::Double:
            return formatDouble(std::get<double>(value_));
        case Kind::Text:
            return std::get<std::string>(value_);
    }
    return {};
}

std::int16_t Variant::toInt16() const {
    switch (kind()) {
        case Kind::Empty:
            return 0;
        case Kind::Null:
            failNull("integer");
        case Kind::Integer: {
            const auto value = std::get<std::int64_t>(value_);
            if (value < std::numeric_limits<std::int16_t>::min() ||
                value > std::numeric_limits<std::int16_t>::max()) {
                throw Error(errors::Overflow,
                            "Overflow: " + std::to_string(value) + " is no 16-bit integer");
            }
            return static_cast<std::int16_t>(value);
        }
        case Kind::Double:
            // nearbyint rounds halves to even in the default rounding mode.
            return fitInt16(std::nearbyint(std::get<double>(value_)));
        case Kind::Text:
            return fitInt16(std::nearbyint(parseNumber(std::get<std::string>(value_))));
    }
    return 0;
}

double Variant::toDouble() const {
    switch (kind()) {
        case Kind::Empty:
            return 0;
        case Kind::Null:
            failNull("number");
        case Kind::Integer:
            return static_cast<double>(std::get<std::int64_t>(value_));
        case Kind::Double:
            return std::get<double>(value_);
        case Kind::Text:
            return parseNumber(std::get<std::string>(value_));
    }
    return 0;
}

bool Variant::equalsText(std::string_view text) const {
    return kind() == Kind::Text && std::get<std::string>(value_) == text;
}

std::string describe(const Variant& value) {
    switch (value.kind()) {
        case Variant::Kind::Empty:
            return "empty";
        case Variant::Kind::Null:
            return "null";
        case Variant::Kind::Text:
            return "\"" + value.toText() + "\"";
        default:
            return value.toText();
    }
}

}  // namespace tessaro
