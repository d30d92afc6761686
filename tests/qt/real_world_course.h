// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "tests/qt/picture_formats.h"
#include "tests/support/temp_folder.h"

namespace tessaro::qt::testing {

// A video asana of the course: its video written by ffmpeg with these arguments.
struct VideoAsana {
    const char* name;
    const char* file;
    std::string ffmpegArgs;
};

// Videos as capture tools and encoders write them, each 2 s long; clip1 starts at frame 0,
// clip2 at SecondClipFrame (1 s in).
const std::vector<VideoAsana>& realWorldVideos();
inline constexpr int SecondClipFrame = 25;
inline constexpr double ClipSeconds = 0.6;
inline constexpr double PictureClipSeconds = 0.3;

// The course under a temporary Resourcedir: one video asana per entry of
// realWorldVideos(), and "Formats", a picture asana showing one picture of each format
// (picture_formats.h), in that order, each with a narration of PictureClipSeconds.
class RealWorldCourse {
  public:
    RealWorldCourse();
    QString resourcedir() const { return QString::fromStdString(folder_.string()); }
    const std::vector<PictureFormat>& formats() const { return formats_; }

  private:
    tessaro::testing::TempFolder folder_{"tessaro-real-world"};
    std::vector<PictureFormat> formats_;
};

}  // namespace tessaro::qt::testing
