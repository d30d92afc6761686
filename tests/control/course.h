// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <tessaro/variant.h>
#include "sim/sim_backend.h"
#include "sim/sim_picture_loader.h"
#include "tests/support/course_catalogue.h"
#include "tests/support/temp_folder.h"

namespace tessaro::testing {

// One row of a video asana's clip table, and how long its narration speaks.
struct ClipRow {
    std::string file{};
    Variant startPos{};
    double speaksMs = 200;
    Variant action = "say";
    Variant endPos = 0;
    Variant filelen = 1.5;
    // False: the narration file is missing.
    bool exists = true;
};

// One row of a picture asana's table.
struct PictureRow {
    std::string mp2{};
    std::string image{};
    double speaksMs = 200;
};

struct Asana {
    std::string name{};
    int id = 0;
    Variant dispType = "Video";
    std::string video{};
    double videoMs = 10000;
    bool videoExists = true;
    std::vector<ClipRow> clips{};
    std::vector<PictureRow> pictures{};
    // The asana's table is its picture table when it has pictures, else its clip table.
    // False: the catalogue lacks it.
    bool hasTable = true;
};

Asana videoAsana(std::string name, int id, std::string video, std::vector<ClipRow> clips,
                 double videoMs = 10000);

inline constexpr double FramesPerSecond = 25;
inline constexpr double MsPerFrame = 1000 / FramesPerSecond;

// A course under a fresh temporary Resourcedir: the catalogue written to hotspots\ and
// video\, the media declared to the sim backend (videos at 25 frames per second,
// narrations audio only) and the pictures to the sim picture loader.
class Course {
  public:
    Course();

    void write(const std::vector<Asana>& asanas, media::SimBackend& media,
               sim::SimPictureLoader& pictures, const std::string& password = CataloguePassword);

    const std::string& root() const { return root_; }
    std::string videoPath(const std::string& video) const;
    std::string narrationPath(const std::string& clip) const;

  private:
    TempFolder folder_{"tessaro-course"};
    std::string root_;
};

}  // namespace tessaro::testing
