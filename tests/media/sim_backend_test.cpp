// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <tessaro/command_service.h>
#include "platform/paths/paths.h"
#include "sim/sim_backend.h"

namespace tessaro::media {
namespace {

class SimPlayback : public ::testing::Test {
  protected:
    SimPlayback() : backend(clock) { backend.declareMedia("C:\\M\\video\\a.mpg", 1000, 25); }

    std::unique_ptr<Player> openVideo() {
        return backend.open(paths::resolve("C:\\M\\video\\a.mpg"), 0);
    }

    sim::VirtualClock clock;
    SimBackend backend;
};

TEST_F(SimPlayback, OpensReadyAndStoppedAtZero) {
    const auto player = openVideo();
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_EQ(player->positionMs(), 0);
    EXPECT_EQ(player->lengthMs(), 1000);
    EXPECT_EQ(player->frameRate(), 25);
}

TEST_F(SimPlayback, PositionFollowsTheClockAndStopsAtTheLength) {
    const auto player = openVideo();
    clock.advanceTo(100);
    player->play();
    clock.advanceTo(350);
    EXPECT_EQ(player->positionMs(), 250);
    clock.advanceTo(5000);
    EXPECT_EQ(player->mode(), PlayerMode::Stopped);
    EXPECT_EQ(player->positionMs(), 1000);
}

TEST_F(SimPlayback, SeekWhilePlayingRunsOnFromThere) {
    const auto player = openVideo();
    player->play();
    clock.advanceTo(100);
    player->seek(600);
    clock.advanceTo(200);
    EXPECT_EQ(player->positionMs(), 700);
    EXPECT_EQ(player->mode(), PlayerMode::Playing);
    player->seek(5000);
    EXPECT_EQ(player->positionMs(), 1000) << "a seek is held inside the media";
}

TEST_F(SimPlayback, PlayersOfOneFileAreIndependent) {
    const auto first = openVideo();
    const auto second = openVideo();
    first->play();
    clock.advanceTo(300);
    EXPECT_EQ(first->positionMs(), 300);
    EXPECT_EQ(second->positionMs(), 0);
}

TEST_F(SimPlayback, UndeclaredAndUndecodableFilesFailWithTheirNumbers) {
    backend.declareUndecodable("C:\\M\\video\\bad.mpg");
    const auto numberOf = [&](const char* path) {
        try {
            backend.open(paths::resolve(path), 0);
        } catch (const Error& error) {
            return error.number();
        }
        return 0;
    };
    EXPECT_EQ(numberOf("C:\\M\\video\\none.mpg"), static_cast<int>(errors::FileNotFound));
    EXPECT_EQ(numberOf("C:\\M\\video\\bad.mpg"), static_cast<int>(errors::InvalidFile));
    EXPECT_EQ(numberOf("c:/M/VIDEO/A.mpg"), 0) << "matched as paths are resolved";
}

}  // namespace
}  // namespace tessaro::media
