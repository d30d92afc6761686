// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/catalogue/reader/byte_view.h"
#include "platform/catalogue/reader/jet_text.h"

namespace tessaro::catalogue {
namespace {

struct TextCase {
    const char* what;
    jet::Version version;
    int codePage;
    std::string stored;
    std::string utf8;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.what;
}

using std::string_literals::operator""s;

const TextCase textCases[] = {
    {"Jet 3 in code page 1252", jet::Version::Jet3, 1252, "caf\xE9 \x80", "caf\u00E9 \u20AC"},
    {"Jet 3 in the file's code page 1251", jet::Version::Jet3, 1251, "\xC0\xE1", "\u0410\u0431"},
    {"Jet 3 naming no known code page reads 1252", jet::Version::Jet3, 0, "\xE9", "\u00E9"},
    {"Jet 3 byte the code page leaves undefined", jet::Version::Jet3, 1252, "a\x81z", "a?z"},
    {"Jet 3 zero character kept", jet::Version::Jet3, 1252, "a\0b"s, "a\0b"s},
    {"Jet 4 UCS-2", jet::Version::Jet4, 0, "h\0\xE9\0\x10\x04"s, "h\u00E9\u0410"},
    {"Jet 4 last odd byte dropped", jet::Version::Jet4, 0, "h\0i"s, "h"},
    {"Jet 4 lone surrogate", jet::Version::Jet4, 0, "a\0\x00\xD8z\0"s, "a?z"},
    {"Jet 4 compressed, switched to two bytes and back", jet::Version::Jet4, 0,
     "\xFF\xFE"
     "ab\0\x10\x04\0c"s,
     "ab\u0410c"},
    {"Jet 4 compressed mark alone", jet::Version::Jet4, 0, "\xFF\xFE", ""},
};

class JetTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(JetTextTest, ReadsStoredTextAsUtf8) {
    const TextCase& c = GetParam();
    const JetText text(c.version, c.codePage);
    const std::vector<std::uint8_t> stored(c.stored.begin(), c.stored.end());
    EXPECT_EQ(text.utf8(stored), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(Texts, JetTextTest, ::testing::ValuesIn(textCases));

std::string damageOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const Damage& damage) {
        return damage.what();
    }
    return "";
}

TEST(ByteViewTest, ARowCountsFromItsStartAndEveryReadStaysInsideItsBytes) {
    const ByteView page(7, {0, 1, 2, 3, 4, 5, 6, 7});
    const ByteView row = page.row(4, 3);
    EXPECT_EQ(row.page(), 7u);
    EXPECT_EQ(row.u16(1), 0x0605);
    EXPECT_EQ(page.u32(4), 0x07060504u);
    EXPECT_EQ(damageOf([&] { page.u64(1); }), "a value reaches past the end of page 7");
    EXPECT_EQ(damageOf([&] { page.row(6, 3); }), "a value reaches past the end of page 7");
    EXPECT_EQ(damageOf([&] { row.u16(2); }), "a row of page 7 has its tables outside its bytes");
    // An offset computed below the row's start wraps round and is refused as well.
    EXPECT_EQ(damageOf([&] { row.u8(static_cast<std::size_t>(-1)); }),
              "a row of page 7 has its tables outside its bytes");
}

}  // namespace
}  // namespace tessaro::catalogue
