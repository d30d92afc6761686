// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include <tessaro/variant.h>
#include "tests/support/temp_folder.h"

namespace tessaro::testing {

struct PictureRow {
    Variant mp2name;
    Variant imageName;
};

struct ClipRow {
    std::string filename;
    int startPos = 0;
};

// One row of Asanas with its picture or clip table.
struct AsanaEntry {
    std::string name;
    int id = 0;
    std::string dispType;
    std::string videoName;
    std::vector<PictureRow> pictures;
    std::vector<ClipRow> clips;
};

// A course in a fresh temporary folder: Resourcedir is <root>/course, the control
// library's folder <root>/module. Removed with the object.
class Course {
  public:
    Course();

    const std::string& resourcedir() const { return resourcedir_; }
    const std::string& moduleDir() const { return moduleDir_; }

    // Writes VUDuzu.mdb, password-protected as the control expects, at a Windows-style
    // path below the temporary root.
    void writeCatalogue(const std::string& windowsPath, const std::vector<AsanaEntry>& asanas);
    // The same catalogue below Resourcedir\hotspots, Resourcedir\video and the module
    // folder's hotspots.
    void writeEverywhere(const std::vector<AsanaEntry>& asanas);

  private:
    TempFolder folder_{"tessaro-pictures"};
    std::string resourcedir_;
    std::string moduleDir_;
};

}  // namespace tessaro::testing
