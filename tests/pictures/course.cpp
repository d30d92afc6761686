// SPDX-License-Identifier: MIT
#include "tests/pictures/course.h"

#include <filesystem>

#include "platform/paths/paths.h"
#include "tests/support/course_catalogue.h"

namespace tessaro::testing {

Course::Course()
    : resourcedir_((folder_ / "course").string()), moduleDir_((folder_ / "module").string()) {
    for (const char* folder : {"course/hotspots", "course/video", "module/hotspots"})
        std::filesystem::create_directories(folder_ / folder);
}

void Course::writeCatalogue(const std::string& windowsPath, const std::vector<AsanaEntry>& asanas) {
    CourseCatalogue catalogue;
    for (const AsanaEntry& asana : asanas)
        catalogue.asana(asana.name, asana.id, asana.dispType, asana.videoName);
    for (const AsanaEntry& asana : asanas) {
        if (asana.clips.empty())
            catalogue.pictureTable(asana.id);
        for (const PictureRow& row : asana.pictures)
            catalogue.picture(asana.id, row.mp2name, row.imageName);
        for (const ClipRow& row : asana.clips)
            catalogue.clip(asana.id, row.filename, "say", row.startPos, row.startPos + 10, 1.5);
    }
    catalogue.write({paths::resolve(windowsPath)});
}

void Course::writeEverywhere(const std::vector<AsanaEntry>& asanas) {
    writeCatalogue(resourcedir_ + "\\hotspots\\VUDuzu.mdb", asanas);
    writeCatalogue(resourcedir_ + "\\video\\VUDuzu.mdb", asanas);
    writeCatalogue(moduleDir_ + "\\hotspots\\VUDuzu.mdb", asanas);
}

}  // namespace tessaro::testing
