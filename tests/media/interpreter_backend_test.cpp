// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/media/interpreter.h"
#include "platform/paths/paths.h"
#include "sim/sim_player.h"

namespace tessaro::media {
namespace {

struct OpenCall {
    std::string path;
    std::intptr_t parentWindow;
};

// Records what the interpreter asks of the backend; every open succeeds.
class RecordingBackend : public PlayerBackend {
  public:
    explicit RecordingBackend(std::vector<OpenCall>& calls) : calls_(calls) {}

    std::unique_ptr<Player> open(const std::string& path, std::intptr_t parentWindow) override {
        calls_.push_back({path, parentWindow});
        return std::make_unique<SimPlayer>(clock_, 1000, 25);
    }

  private:
    std::vector<OpenCall>& calls_;
    sim::VirtualClock clock_;
};

struct OpenCase {
    std::string command;
    std::string element;  // as written, before resolving
    std::intptr_t parentWindow;
};

class BackendOpen : public ::testing::TestWithParam<OpenCase> {};

TEST_P(BackendOpen, GetsTheResolvedElementAndTheParentWindow) {
    std::vector<OpenCall> calls;
    Interpreter service(std::make_unique<RecordingBackend>(calls));
    ASSERT_TRUE(service.execute(GetParam().command));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].path, paths::resolve(GetParam().element));
    EXPECT_EQ(calls[0].parentWindow, GetParam().parentWindow);
}

INSTANTIATE_TEST_SUITE_P(
    Interpreter, BackendOpen,
    ::testing::Values(
        OpenCase{"open C:\\M\\video\\a.mpg  alias video type mpegVideo  style child parent  1234",
                 "C:\\M\\video\\a.mpg", 1234},
        OpenCase{"open C:\\M\\sound\\mp2\\c1.mp2 alias Sound type mpegVideo",
                 "C:\\M\\sound\\mp2\\c1.mp2", 0},
        OpenCase{"open C:\\M\\video\\a.mpg alias video style child parent -77",
                 "C:\\M\\video\\a.mpg", -77},
        OpenCase{"open C:\\Course  Media\\video\\tree pose.mpg alias video",
                 "C:\\Course  Media\\video\\tree pose.mpg", 0},
        OpenCase{"OPEN \"C:\\A\\alias x.mpg\" ALIAS v PARENT 5", "C:\\A\\alias x.mpg", 5},
        OpenCase{"open /tmp/x.mp2 shareable alias s", "/tmp/x.mp2", 0}));

}  // namespace
}  // namespace tessaro::media
