// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/media/media_fixture.h"
#include "tools/tessaro-mci/mci_console.h"

namespace tessaro::media::testing {
namespace {

class Console : public ::testing::Test, public MediaFixture {
  protected:
    // Runs the script and returns what the console printed.
    std::string run(const std::string& script) {
        std::istringstream in(script);
        succeeded = console.runLines(in);
        return out.str();
    }

    std::ostringstream out;
    mci::Console console{*service, out, [this](std::int64_t ms) { advance(ms); }};
    bool succeeded = false;
};

TEST_F(Console, PrintsOneLinePerCommandAndSleepsOnTheClock) {
    const std::string printed = run(OpenVideo + "\n" +
                                    "set video time format frames\n"
                                    "\n"
                                    "# a comment\n"
                                    "play video\n"
                                    "sleep 1000\n"
                                    "status video Position\n"
                                    "  STATUS video mode  \n"
                                    "close all\n");
    EXPECT_EQ(printed,
              "OK\n"
              "OK\n"
              "OK\n"
              "OK 25\n"
              "OK playing\n"
              "OK\n");
    EXPECT_TRUE(succeeded);
}

TEST_F(Console, PrintsEveryFailureWithNumberAndText) {
    const std::string printed = run("pause video\npause video\nstatus video mode\nfly away\n");
    EXPECT_EQ(printed,
              "ERROR 263 pause video: device not open\n"
              "ERROR 263 pause video: device not open\n"
              "ERROR 263 status video: device not open\n"
              "ERROR 261 fly away: unknown command\n");
    EXPECT_FALSE(succeeded);
}

TEST_F(Console, StatusQueriesGoThroughSendStringAndCommandsThroughExecute) {
    run("status video mode\nplay video\n");
    EXPECT_EQ(reports.size(), 1u) << "only the executed command reaches the reporter";
}

TEST_F(Console, BadSleepIsAnErrorAndWaitsNothing) {
    EXPECT_EQ(run("sleep\nsleep soon\nsleep -5\nsleep 86400001\nsleep 1e10\n"),
              "ERROR 273 sleep: no milliseconds\n"
              "ERROR 270 sleep: \"soon\" is not milliseconds from 0 to 86400000\n"
              "ERROR 270 sleep: \"-5\" is not milliseconds from 0 to 86400000\n"
              "ERROR 270 sleep: \"86400001\" is not milliseconds from 0 to 86400000\n"
              "ERROR 270 sleep: \"1e10\" is not milliseconds from 0 to 86400000\n");
    EXPECT_EQ(clock.nowMs(), 0);
}

TEST_F(Console, RunLineAnswersForOneCommand) {
    EXPECT_TRUE(console.runLine("# nothing"));
    EXPECT_TRUE(console.runLine(OpenSound));
    EXPECT_FALSE(console.runLine(OpenSound));
    EXPECT_EQ(out.str(), "OK\nERROR 289 open Sound: alias already in use\n");
}

}  // namespace
}  // namespace tessaro::media::testing
