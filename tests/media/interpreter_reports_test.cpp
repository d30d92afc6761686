// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/media/media_fixture.h"

namespace tessaro::media::testing {
namespace {

class Reports : public ::testing::Test, public MediaFixture {};

TEST_F(Reports, ExecuteReportsAFailureWithItsNumber) {
    EXPECT_FALSE(service->execute("play video"));
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("play video"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("263"), std::string::npos) << reports[0];
}

TEST_F(Reports, RepeatedFailureOnADeviceIsReportedOnce) {
    EXPECT_FALSE(service->execute("open C:\\M\\video\\none.mpg  alias video type mpegVideo"));
    for (int tick = 0; tick < 100; ++tick)
        EXPECT_FALSE(service->execute("pause video"));
    EXPECT_FALSE(service->execute("PAUSE VIDEO")) << "same failure in other letter case";
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[0].find("open"), std::string::npos);
    EXPECT_NE(reports[1].find("pause video"), std::string::npos);
}

TEST_F(Reports, OtherCommandsAndDevicesAreReportedOnTheirOwn) {
    service->execute("pause video");
    service->execute("play video");
    service->execute("pause sound");
    service->execute("pause video");
    service->execute("play video");
    EXPECT_EQ(reports.size(), 3u);
}

TEST_F(Reports, OpeningTheDeviceAgainReportsAfresh) {
    service->execute("pause video");
    service->execute("pause video");
    ASSERT_EQ(reports.size(), 1u);

    ASSERT_TRUE(service->execute(OpenVideo));
    ASSERT_TRUE(service->execute("close video"));
    service->execute("pause video");
    EXPECT_EQ(reports.size(), 2u);

    service->execute("open C:\\M\\video\\none.mpg alias Video");
    service->execute("open C:\\M\\video\\none.mpg alias Video");
    service->execute("pause video");
    EXPECT_EQ(reports.size(), 5u) << "each open attempt starts afresh; its own failure too";
}

TEST_F(Reports, SendStringReportsNothing) {
    EXPECT_EQ(query("status video mode").number, 263u);
    EXPECT_EQ(query("play video").number, 263u);
    EXPECT_TRUE(reports.empty());
    service->execute("play video");
    EXPECT_EQ(reports.size(), 1u) << "a silent query does not count as reported";
}

TEST_F(Reports, AThrowingReporterDoesNotEscape) {
    service->setErrorReporter([](const std::string&) { throw std::runtime_error("box failed"); });
    EXPECT_NO_THROW(EXPECT_FALSE(service->execute("play video")));
}

TEST_F(Reports, SendStringWritesNothingOnFailureAndTheReplyOnSuccess) {
    ASSERT_TRUE(service->execute(OpenVideo));
    char area[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(service->sendString("status nothing mode", area, sizeof area, 0), 263u);
    EXPECT_EQ(std::string(area, sizeof area), "xxxxxxxx");
    EXPECT_EQ(service->sendString("play video", area, sizeof area, 0), 0u);
    EXPECT_EQ(area[0], '\0') << "a command without reply answers the empty text";
}

TEST_F(Reports, ReplyIsCutToOneLessThanTheLength) {
    ASSERT_TRUE(service->execute(OpenVideo));
    const struct {
        unsigned length;
        const char* expected;
    } cases[] = {{1, ""}, {2, "s"}, {7, "stoppe"}, {8, "stopped"}, {20, "stopped"}};
    for (const auto& c : cases) {
        char area[24];
        std::memset(area, '#', sizeof area);
        EXPECT_EQ(service->sendString("status video mode", area, c.length, 0), 0u);
        EXPECT_STREQ(area, c.expected) << "length " << c.length;
        EXPECT_EQ(area[std::strlen(c.expected) + 1], '#') << "nothing written past the NUL";
    }
    EXPECT_EQ(service->sendString("status video mode", nullptr, 0, 0), 0u);
}

TEST(Trace, TracesEveryCommandWithResultAndReply) {
    ::setenv("TESSARO_TRACE", "1", 1);
    MediaFixture media;
    ::unsetenv("TESSARO_TRACE");
    ::testing::internal::CaptureStderr();
    media.service->execute(OpenSound);
    media.query("status sound mode");
    media.service->execute("pause nothing");
    const std::string trace = ::testing::internal::GetCapturedStderr();

    EXPECT_NE(trace.find("execute \"" + OpenSound + "\" -> 0"), std::string::npos) << trace;
    EXPECT_NE(trace.find("sendString \"status sound mode\" -> 0 \"stopped\""), std::string::npos)
        << trace;
    EXPECT_NE(trace.find("execute \"pause nothing\" -> 263"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" ms] "), std::string::npos) << "stamped in milliseconds";
}

TEST(Trace, OffUnlessAskedFor) {
    ::unsetenv("TESSARO_TRACE");
    MediaFixture media;
    ::testing::internal::CaptureStderr();
    media.service->execute(OpenSound);
    media.query("status sound mode");
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace tessaro::media::testing
