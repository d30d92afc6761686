// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <tessaro/command_service.h>
#include "tests/media/media_fixture.h"

namespace tessaro::media::testing {
namespace {

struct CommandCase {
    const char* name;
    std::vector<std::string> before;  // each must succeed
    std::string command;
    int number;
    std::string reply;  // for successful queries
};

std::string openVideoWithoutAlias() {
    return std::string("open ") + VideoPath;
}

const std::vector<CommandCase> CommandCases = {
    {"ModeAfterOpen", {OpenVideo}, "status video mode", 0, "stopped"},
    {"PositionKeywordInAnyCase", {OpenVideo}, "status video Position", 0, "0"},
    {"KeywordsCaseBlind", {OpenVideo}, "STATUS Video MODE", 0, "stopped"},
    {"AliasCaseBlind", {OpenSound}, "status sound mode", 0, "stopped"},
    {"LengthInMilliseconds", {OpenVideo}, "status video length", 0, "10000"},
    {"LengthInFrames",
     {OpenVideo, "set video time format frames"},
     "status video length",
     0,
     "250"},
    {"TimeFormatDefault", {OpenVideo}, "status video time format", 0, "milliseconds"},
    {"TimeFormatFrames",
     {OpenVideo, "set video time format frames"},
     "status video time format",
     0,
     "frames"},
    {"TimeFormatMsAbbreviation",
     {OpenVideo, "set video time format frames", "set video time format ms"},
     "status video time format",
     0,
     "milliseconds"},
    {"Ready", {OpenVideo}, "status video ready", 0, "true"},
    {"FrameRateTimesThousand", {OpenVideo}, "status video frame rate", 0, "25000"},
    {"AudioHasNoFrameRate", {OpenSound}, "status sound frame rate", 0, "0"},
    {"DeviceNamedByElementWithoutAlias",
     {openVideoWithoutAlias()},
     std::string("status ") + VideoPath + " mode",
     0,
     "stopped"},
    {"QuotedElement",
     {"open \"C:\\My Media\\clip one.mpg\" alias q"},
     "status q length",
     0,
     "2000"},
    {"ElementWithBlanksUnquoted",
     {"open C:\\My Media\\clip one.mpg alias q"},
     "status q length",
     0,
     "2000"},
    {"ElementWithOtherSeparatorsAndCase",
     {"open c:/m//VIDEO/A.MPG alias v"},
     "status v length",
     0,
     "10000"},
    {"QuotedDeviceName",
     {"open \"C:\\My Media\\clip one.mpg\""},
     "status \"C:\\My Media\\clip one.mpg\" length",
     0,
     "2000"},
    {"ShareableAccepted", {}, OpenSound + " shareable", 0, ""},
    {"SeekToFrame",
     {OpenVideo, "set video time format frames", "seek video to 100"},
     "status video position",
     0,
     "100"},
    {"SeekToEnd", {OpenVideo, "seek video to end"}, "status video position", 0, "10000"},
    {"SeekStopsPlayback",
     {OpenVideo, "play video", "seek video to start"},
     "status video mode",
     0,
     "stopped"},
    {"CloseThenReopenSameAlias",
     {OpenVideo, "close video", OpenVideo},
     "status video mode",
     0,
     "stopped"},

    {"UnknownCommand", {}, "rewind video", errors::UnrecognizedCommand, ""},
    {"EmptyCommand", {}, "   ", errors::UnrecognizedCommand, ""},
    {"DeviceNotOpen", {}, "play video", errors::DeviceNotOpen, ""},
    {"StatusOfDeviceNotOpen", {}, "status video mode", errors::DeviceNotOpen, ""},
    {"CloseDeviceNotOpen", {}, "close sound", errors::DeviceNotOpen, ""},
    {"ClosedDeviceIsGone", {OpenSound, "close sound"}, "play sound", errors::DeviceNotOpen, ""},
    {"MissingFile", {}, "open C:\\M\\video\\none.mpg alias video", errors::FileNotFound, ""},
    {"UndecodableFile", {}, "open C:\\M\\video\\bad.mpg alias video", errors::InvalidFile, ""},
    {"AliasInUse", {OpenSound}, "open C:\\M\\video\\a.mpg alias SOUND", errors::DuplicateAlias, ""},
    {"OpenWithoutElement", {}, "open alias video", errors::MissingParameter, ""},
    {"AliasWithoutValue", {}, "open C:\\M\\video\\a.mpg alias", errors::MissingParameter, ""},
    {"ParentNotANumber", {}, "open C:\\M\\video\\a.mpg alias v parent x12", errors::BadInteger, ""},
    {"UnknownDeviceType",
     {},
     "open C:\\M\\video\\a.mpg alias v type sequencer",
     errors::CannotLoadDriver,
     ""},
    {"UnclosedQuote", {}, "open \"C:\\M\\video\\a.mpg alias v", errors::NoClosingQuote, ""},
    {"UnknownStatusItem", {OpenVideo}, "status video volume", errors::UnsupportedFunction, ""},
    {"StatusWithoutItem", {OpenVideo}, "status video", errors::MissingParameter, ""},
    {"UnknownTimeFormat", {OpenVideo}, "set video time format hours", errors::BadTimeFormat, ""},
    {"FramesWithoutVideo", {OpenSound}, "set sound time format frames", errors::BadTimeFormat, ""},
    {"UnsupportedSetting", {OpenVideo}, "set video audio all off", errors::UnsupportedFunction, ""},
    {"SeekPastEnd",
     {OpenVideo, "set video time format frames"},
     "seek video to 251",
     errors::OutOfRange,
     ""},
    {"SeekWithoutTo", {OpenVideo}, "seek video 10", errors::UnrecognizedKeyword, ""},
    {"SeekToNonNumber", {OpenVideo}, "seek video to middle", errors::BadInteger, ""},
    {"ExtraWordAfterPlay", {OpenVideo}, "play video fast", errors::UnrecognizedKeyword, ""},
    {"CommandWithoutDevice", {}, "play", errors::MissingParameter, ""},
};

class CommandTable : public ::testing::TestWithParam<CommandCase> {};

TEST_P(CommandTable, AnswersWithNumberAndReply) {
    const CommandCase& c = GetParam();
    MediaFixture media;
    for (const std::string& command : c.before)
        ASSERT_TRUE(media.service->execute(command)) << command;

    const Answer answer = media.query(c.command);

    EXPECT_EQ(answer.number, c.number);
    EXPECT_EQ(media.service->lastOutcome().number, c.number);
    if (c.number == 0)
        EXPECT_EQ(answer.reply, c.reply);
    else
        EXPECT_EQ(answer.reply, std::string(50, ' ')) << "a failed query leaves the area alone";
}

INSTANTIATE_TEST_SUITE_P(Interpreter, CommandTable, ::testing::ValuesIn(CommandCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Interpreter, FailedOpenLeavesNothingOpen) {
    MediaFixture media;
    EXPECT_FALSE(media.service->execute("open C:\\M\\video\\bad.mpg alias video"));
    EXPECT_EQ(media.query("status video mode").number, errors::DeviceNotOpen);
    EXPECT_TRUE(media.service->execute(OpenVideo)) << "the alias is still free";
}

TEST(Interpreter, ErrorTextNamesTheCommand) {
    MediaFixture media;
    media.service->execute("pause video");
    EXPECT_EQ(media.service->lastOutcome().text.rfind("pause video", 0), 0u)
        << media.service->lastOutcome().text;
    media.service->execute("status");
    EXPECT_EQ(media.service->lastOutcome().text.rfind("status", 0), 0u);
}

TEST(Interpreter, SuccessClearsTheLastOutcome) {
    MediaFixture media;
    media.service->execute("play video");
    ASSERT_TRUE(media.service->execute(OpenVideo));
    EXPECT_EQ(media.service->lastOutcome().number, 0u);
    EXPECT_EQ(media.service->lastOutcome().text, "");
}

TEST(Interpreter, ElementOpenedWithoutAliasIsFoundCaseBlind) {
    MediaFixture media;
    ASSERT_TRUE(media.service->execute(openVideoWithoutAlias()));
    EXPECT_TRUE(media.service->execute("play c:\\m\\VIDEO\\a.mpg"));
    EXPECT_EQ(media.status(VideoPath, "mode"), "playing");
}

}  // namespace
}  // namespace tessaro::media::testing
