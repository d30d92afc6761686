// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <tessaro/variant.h>

#include "platform/values/asana_number.h"

namespace tessaro {
namespace {

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

struct Int16Case {
    Variant value;
    int expected;  // the converted value, or ignored when error is set
    int error;
};

TEST(VariantTest, ConvertsToInt16RoundingHalvesToEven) {
    const Int16Case cases[] = {
        {Variant(7), 7, 0},
        {Variant(2.5), 2, 0},
        {Variant(3.5), 4, 0},
        {Variant(-2.5), -2, 0},
        {Variant(32767.4), 32767, 0},
        {Variant(32767.5), 0, errors::Overflow},
        {Variant(-32768), -32768, 0},
        {Variant(-32769), 0, errors::Overflow},
        {Variant(std::int64_t{40000}), 0, errors::Overflow},
        {Variant(" 12 "), 12, 0},
        {Variant("12.5"), 12, 0},
        {Variant("abc"), 0, errors::TypeMismatch},
        {Variant(""), 0, errors::TypeMismatch},
        {Variant::null(), 0, errors::InvalidUseOfNull},
        {Variant(), 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(describe(c.value));
        if (c.error != 0) {
            EXPECT_EQ(errorOf([&] { c.value.toInt16(); }), c.error);
        } else {
            EXPECT_EQ(c.value.toInt16(), c.expected);
        }
    }
}

TEST(VariantTest, TextAndDoubleConversions) {
    EXPECT_EQ(Variant(12).toText(), "12");
    EXPECT_EQ(Variant(7.5).toText(), "7.5");
    EXPECT_EQ(Variant(3.0).toText(), "3");
    EXPECT_EQ(Variant().toText(), "");
    EXPECT_EQ(errorOf([] { Variant::null().toText(); }), errors::InvalidUseOfNull);
    EXPECT_DOUBLE_EQ(Variant("2.25").toDouble(), 2.25);
    EXPECT_DOUBLE_EQ(Variant(4).toDouble(), 4.0);
    EXPECT_EQ(errorOf([] { Variant("x").toDouble(); }), errors::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant::null().toDouble(); }), errors::InvalidUseOfNull);
}

TEST(VariantTest, EqualsTextOnlyForTheSameTextLetterCaseCounting) {
    EXPECT_TRUE(Variant("Video").equalsText("Video"));
    EXPECT_FALSE(Variant("VIDEO").equalsText("Video"));
    EXPECT_FALSE(Variant("Video ").equalsText("Video"));
    EXPECT_FALSE(Variant::null().equalsText("Video"));
    EXPECT_FALSE(Variant().equalsText(""));
    EXPECT_FALSE(Variant(0).equalsText("0"));
}

TEST(VariantTest, AsanaNumberTextHasNoBlankNorLeadingZeros) {
    EXPECT_EQ(asanaNumberText(Variant(7)), "7");
    EXPECT_EQ(asanaNumberText(Variant(-3)), "-3");
    EXPECT_EQ(asanaNumberText(Variant(12.0)), "12");
    EXPECT_EQ(asanaNumberText(Variant("007")), "7");
    EXPECT_EQ(errorOf([] { asanaNumberText(Variant::null()); }), errors::InvalidUseOfNull);
}

}  // namespace
}  // namespace tessaro
