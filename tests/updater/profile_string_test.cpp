// SPDX-License-Identifier: MIT
#include "updater/profile_string.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>

#include "tests/support/temp_folder.h"

namespace mendrick {
namespace {

namespace fs = std::filesystem;

struct ProfileCase {
    const char* name;
    std::string text;
    std::string expected;
};

void PrintTo(const ProfileCase& c, std::ostream* out) {
    *out << c.name;
}

class ProfileStringTest : public ::testing::TestWithParam<ProfileCase> {
  protected:
    void write(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }

    std::string read(std::string_view fallback = "") {
        std::array<char, 255> buffer;
        buffer.fill('#');
        const std::size_t count =
            readProfileString(file_.string(), "Quillon", "DestPath", fallback, buffer);
        EXPECT_LT(count, buffer.size());
        EXPECT_EQ(buffer[count], '\0') << "the copied text ends with a zero";
        return std::string(buffer.data(), count);
    }

    tessaro::testing::TempFolder folder_{"mendrick-profile"};
    fs::path file_ = folder_ / "profile.ini";
};

TEST_P(ProfileStringTest, ReadsDestPathWithTheClassicRules) {
    write(GetParam().text);
    EXPECT_EQ(read(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileStringTest,
    ::testing::Values(
        ProfileCase{"plain", "[Quillon]\nDestPath=C:\\Veltrana\n", "C:\\Veltrana"},
        ProfileCase{"section_and_key_case_blind", "[qUILLON]\ndestpath=D:\\V\n", "D:\\V"},
        ProfileCase{"blanks_around_everything", "  [ Quillon ]  \n\t DestPath \t=  C:\\V x \t\n",
                    "C:\\V x"},
        ProfileCase{"crlf_lines", "[Quillon]\r\nDestPath=C:\\V\r\nOther=1\r\n", "C:\\V"},
        ProfileCase{"double_quotes_removed", "[Quillon]\nDestPath=\" C:\\V \"\n", " C:\\V "},
        ProfileCase{"single_quotes_removed", "[Quillon]\nDestPath='C:\\V'\n", "C:\\V"},
        ProfileCase{"unmatched_quotes_kept", "[Quillon]\nDestPath=\"C:\\V'\n", "\"C:\\V'"},
        ProfileCase{"lone_quote_kept", "[Quillon]\nDestPath=\"\n", "\""},
        ProfileCase{"empty_value", "[Quillon]\nDestPath=\n", ""},
        ProfileCase{"first_key_wins", "[Quillon]\nDestPath=first\nDestPath=second\n", "first"},
        ProfileCase{"first_section_only",
                    "[Quillon]\nOther=1\n[Elsewhere]\nDestPath=x\n[QUILLON]\nDestPath=late\n", ""},
        ProfileCase{"key_in_other_section", "[Other]\nDestPath=x\n[Quillon]\n", ""},
        ProfileCase{"key_before_any_section", "DestPath=x\n[Quillon]\n", ""},
        ProfileCase{"key_without_equals", "[Quillon]\nDestPath\n", ""},
        ProfileCase{"commented_out", "[Quillon]\n;DestPath=x\n", ""},
        ProfileCase{"longer_key_not_matched", "[Quillon]\nDestPath2=x\nDestPat=y\n", ""},
        ProfileCase{"equals_inside_value", "[Quillon]\nDestPath=a=b\n", "a=b"},
        ProfileCase{"byte_order_mark", "\xEF\xBB\xBF[Quillon]\nDestPath=C:\\V\n", "C:\\V"},
        ProfileCase{"no_final_newline", "[Quillon]\nDestPath=C:\\V", "C:\\V"},
        ProfileCase{"254_characters_fit", "[Quillon]\nDestPath=" + std::string(254, 'a') + "\n",
                    std::string(254, 'a')},
        ProfileCase{"255_characters_cut", "[Quillon]\nDestPath=" + std::string(254, 'a') + "b\n",
                    std::string(254, 'a')},
        ProfileCase{"300_characters_cut",
                    "[Quillon]\nDestPath=" + std::string(254, 'a') + std::string(46, 'b') + "\n",
                    std::string(254, 'a')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileStringTest, MissingFileGivesTheFallbackWithoutTrailingBlanks) {
    EXPECT_EQ(read(" none  "), " none");
}

TEST_F(ProfileStringTest, MissingKeyGivesTheFallback) {
    write("[Quillon]\n");
    EXPECT_EQ(read("none"), "none");
}

TEST_F(ProfileStringTest, SmallBufferCutsTheValue) {
    write("[Quillon]\nDestPath=abcdef\n");
    std::array<char, 4> buffer;
    EXPECT_EQ(readProfileString(file_.string(), "Quillon", "DestPath", "", buffer), 3u);
    EXPECT_STREQ(buffer.data(), "abc");
}

TEST_F(ProfileStringTest, EmptyBufferReceivesNothing) {
    write("[Quillon]\nDestPath=abcdef\n");
    EXPECT_EQ(readProfileString(file_.string(), "Quillon", "DestPath", "", std::span<char>{}), 0u);
}

}  // namespace
}  // namespace mendrick
