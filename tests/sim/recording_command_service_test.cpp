// SPDX-License-Identifier: MIT
#include "sim/recording_command_service.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tessaro::sim {
namespace {

// Answers every query with "playing" and fails every "close" command.
class ScriptedService : public media::CommandService {
  public:
    bool execute(std::string_view command) override { return !command.starts_with("close"); }
    int sendString(std::string_view, char* replyArea, unsigned replyLength,
                   std::intptr_t) override {
        std::strncpy(replyArea, "playing", replyLength);
        return 0;
    }
};

TEST(RecordingCommandService, RecordsEachTextInOrderAndPassesResultsThrough) {
    ScriptedService inner;
    RecordingCommandService recorder(inner);
    char reply[50] = {};

    EXPECT_TRUE(recorder.execute("play video"));
    EXPECT_EQ(recorder.sendString("status sound mode", reply, 49, 0), 0u);
    EXPECT_FALSE(recorder.execute("close all"));

    EXPECT_STREQ(reply, "playing");
    EXPECT_EQ(recorder.entries(),
              (std::vector<RecordingCommandService::Entry>{
                  {"play video", false}, {"status sound mode", true}, {"close all", false}}));
    EXPECT_EQ(recorder.executed(), (std::vector<std::string>{"play video", "close all"}));
    EXPECT_EQ(recorder.all().size(), 3u);
}

}  // namespace
}  // namespace tessaro::sim
