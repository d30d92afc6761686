// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/described_values.h"

#include <cmath>

#include "platform/catalogue/writer/code_page_1252.h"
#include "platform/catalogue/writer/stored_values.h"

namespace tessaro::catalogue::jet3 {
namespace {

[[noreturn]] void reject(const std::string& reason) {
    throw Error(errors::InvalidCatalogueDescription, reason);
}

std::string codePageText(const Variant& value, const char* columnKind) {
    if (value.kind() != Variant::Kind::Text) {
        reject(std::string("a ") + columnKind + " column takes text, not " + describe(value));
    }
    auto text = toCodePage1252(value.toText());
    if (!text) {
        reject("text " + describe(value) +
               " is not UTF-8 or holds a character outside code page 1252");
    }
    return *text;
}

double number(const Variant& value, const char* columnKind) {
    const auto kind = value.kind();
    if (kind != Variant::Kind::Integer && kind != Variant::Kind::Double) {
        reject(std::string("a ") + columnKind + " column takes a number, not " + describe(value));
    }
    const double result = value.toDouble();
    if (!std::isfinite(result)) {
        reject(describe(value) + " is not a finite number");
    }
    return result;
}

double wholeNumber(const Variant& value, const char* columnKind, double lowest, double highest) {
    const double result = number(value, columnKind);
    if (result != std::trunc(result)) {
        reject(std::string("a ") + columnKind + " column takes whole numbers, not " +
               describe(value));
    }
    if (result < lowest || result > highest) {
        reject(describe(value) + " is out of range for " + columnKind + " (" +
               std::to_string(static_cast<long long>(lowest)) + " to " +
               std::to_string(static_cast<long long>(highest)) + ")");
    }
    return result;
}

StoredValue textValue(const ColumnDescription& column, const Variant& value) {
    const std::string text = codePageText(value, "text");
    if (text.size() > static_cast<std::size_t>(column.size)) {
        reject("text of " + std::to_string(text.size()) +
               " characters is longer than the column's size " + std::to_string(column.size));
    }
    return storedText(text);
}

StoredValue memoValue(const Variant& value) {
    const std::string text = codePageText(value, "memo");
    if (text.size() > MaxLongValueLength) {
        reject("memo of " + std::to_string(text.size()) + " characters is longer than " +
               std::to_string(MaxLongValueLength));
    }
    return storedText(text);
}

}  // namespace

StoredColumn storedColumn(const ColumnDescription& column) {
    static constexpr std::uint8_t Types[] = {TextType, MemoType,   IntegerType,
                                             LongType, DoubleType, BooleanType};
    if (column.type == ColumnType::Text &&
        (column.size < 1 || column.size > static_cast<int>(MaxTextSize))) {
        reject("text size " + std::to_string(column.size) + " is outside 1..255");
    }
    const auto name = toCodePage1252(column.name);
    if (!name || name->empty() || name->size() > MaxNameLength) {
        reject("a column name must be 1..64 characters of code page 1252");
    }
    StoredColumn stored;
    stored.name = *name;
    stored.type = Types[static_cast<int>(column.type)];
    stored.size = static_cast<std::uint16_t>(column.type == ColumnType::Text ? column.size : 0);
    return stored;
}

StoredValue storedValue(const ColumnDescription& column, const Variant& value) {
    if (value.isEmpty()) {
        reject("no value given (write null for a null)");
    }
    if (value.isNull()) {
        if (column.type == ColumnType::Boolean) {
            reject("a boolean column cannot hold null");
        }
        return StoredValue::null();
    }
    switch (column.type) {
        case ColumnType::Text:
            return textValue(column, value);
        case ColumnType::Memo:
            return memoValue(value);
        case ColumnType::Integer:
            return storedInteger(
                static_cast<std::int16_t>(wholeNumber(value, "integer", -32768, 32767)));
        case ColumnType::Long:
            return storedLong(
                static_cast<std::int32_t>(wholeNumber(value, "long", -2147483648.0, 2147483647.0)));
        case ColumnType::Double:
            return storedDouble(number(value, "double"));
        case ColumnType::Boolean:
            return StoredValue::boolean(number(value, "boolean") != 0);
    }
    reject("unknown column type");
}

}  // namespace tessaro::catalogue::jet3
