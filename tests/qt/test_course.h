// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <chrono>
#include <functional>
#include <string>

#include "tests/support/temp_folder.h"

namespace tessaro::qt::testing {

// A small course under a temporary Resourcedir, made with ffmpeg and the catalogue writer:
// - "Tadasana", a video asana: video\pose.mpg (MPEG-1, 352 x 288, 25 fps, all blue unless
//   another ffmpeg lavfi source is named) with the narration clips clip1 (from frame 0) and
//   clip2 (from frame `secondClipFrame`, 25 unless another is named); the video lasts one
//   second beyond that frame;
// - "Vrksasana", a picture asana: video\pose1.png (red) with clip1, then video\pose2.png
//   (green) with clip2.
// The catalogue lies in hotspots\VUDuzu.mdb and video\VUDuzu.mdb, under the product's
// password. Narration clips are MPEG-1 layer II, 0.6 s each.
class TestCourse {
  public:
    explicit TestCourse(const std::string& videoSource = "color=c=blue", int secondClipFrame = 25);
    QString resourcedir() const { return QString::fromStdString(folder_.string()); }

  private:
    tessaro::testing::TempFolder folder_{"tessaro-qt-course"};
};

// Runs the Qt event loop until the condition holds; false when it still does not after
// the (generous) limit, which only a broken playback reaches.
bool spinUntil(const std::function<bool()>& condition,
               std::chrono::seconds limit = std::chrono::seconds(60));

}  // namespace tessaro::qt::testing
