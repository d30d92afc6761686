// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tessaro::testing {

// A narration clip: pink noise of its own seed (so that it is found again in a mix by
// correlation), due at a video frame.
struct TestClip {
    std::string file;
    int startFrame = 0;
    double seconds = 0.5;
};

struct TestAsana {
    std::string name;
    int id = 0;
    std::string video;    // empty for a picture asana
    int videoFrames = 0;  // at 25 frames per second
    std::vector<TestClip> clips;
    // Picture asanas: the pictures' colours (RGB), one per clip.
    std::vector<unsigned> pictureColours;
    // False: the clips' narration files are left out of the course.
    bool narrationsPresent = true;
};

// The course the render checks run on, written below root: videos whose frames carry
// their own number as a bar code (so that a decoded frame tells which source frame it
// is), noise narrations, small solid pictures, and the catalogue.
//   Trikoñásana: clip 1 due at frame 0 and speaking past clip 2's frame 25 (a hold),
//                clip 3 due at frame 60, reached after clip 2 has ended (an advance);
//   Savasana:    one clip that outlasts its one-second video (the last frame stays);
//   Surya:       three pictures, each with its narration;
//   Broken:      a video asana whose narration file is missing;
//   Unreachable: its second clip is due at frame 500 of a 25-frame video.
std::vector<TestAsana> testCourseAsanas();
void writeTestCourse(const std::string& root, const std::vector<TestAsana>& asanas);

}  // namespace tessaro::testing
