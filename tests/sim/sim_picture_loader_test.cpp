// SPDX-License-Identifier: MIT
#include "sim/sim_picture_loader.h"

#include <gtest/gtest.h>

#include <tessaro/error.h>

namespace tessaro::sim {
namespace {

struct LoadCase {
    const char* path;
    int error;  // 0: loads
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.path;
}

class SimPictureLoading : public ::testing::TestWithParam<LoadCase> {
  protected:
    SimPictureLoader loader;
    void SetUp() override {
        loader.declarePicture("C:\\M\\video\\p1.jpg");
        loader.declareNoPicture("C:\\M\\video\\notes.txt");
    }
};

TEST_P(SimPictureLoading, MatchesDeclaredFilesAsPathResolutionDoes) {
    const LoadCase& c = GetParam();
    if (c.error == 0) {
        const host::Picture picture = loader.load(c.path);
        EXPECT_FALSE(picture.isEmpty());
        EXPECT_EQ(picture.source(), c.path);
        return;
    }
    try {
        loader.load(c.path);
        FAIL() << c.path << " loaded";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), c.error) << c.path;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SimPictureLoading,
                         ::testing::Values(LoadCase{"C:\\M\\video\\p1.jpg", 0},
                                           LoadCase{"c:/m//VIDEO/P1.JPG", 0},
                                           LoadCase{"C:\\M\\video\\p2.jpg", 53},
                                           LoadCase{"C:\\M\\video\\notes.txt", 481}));

TEST(SimPictureLoader, EmptyPathGivesTheEmptyPicture) {
    SimPictureLoader loader;
    EXPECT_TRUE(loader.load("").isEmpty());
}

}  // namespace
}  // namespace tessaro::sim
