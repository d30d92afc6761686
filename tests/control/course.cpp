// SPDX-License-Identifier: MIT
#include "tests/control/course.h"

#include "tests/support/course_catalogue.h"

namespace tessaro::testing {

Asana videoAsana(std::string name, int id, std::string video, std::vector<ClipRow> clips,
                 double videoMs) {
    Asana a;
    a.name = std::move(name);
    a.id = id;
    a.video = std::move(video);
    a.clips = std::move(clips);
    a.videoMs = videoMs;
    return a;
}

Course::Course() : root_(folder_.string()) {
    std::filesystem::create_directories(root_ + "/hotspots");
    std::filesystem::create_directories(root_ + "/video");
}

void Course::write(const std::vector<Asana>& asanas, media::SimBackend& media,
                   sim::SimPictureLoader& pictures, const std::string& password) {
    CourseCatalogue catalogue(catalogue::ColumnType::Double);
    for (const Asana& a : asanas)
        catalogue.asana(a.name, a.id, a.dispType, a.video);
    for (const Asana& a : asanas) {
        if (a.hasTable && a.pictures.empty())
            catalogue.clipTable(a.id);
        if (a.hasTable && !a.pictures.empty())
            catalogue.pictureTable(a.id);
        if (a.videoExists)
            media.declareMedia(videoPath(a.video), a.videoMs, FramesPerSecond);
        for (const ClipRow& c : a.clips) {
            if (a.hasTable && a.pictures.empty())
                catalogue.clip(a.id, c.file, c.action, c.startPos, c.endPos, c.filelen);
            if (c.exists)
                media.declareMedia(narrationPath(c.file), c.speaksMs);
        }
        for (const PictureRow& p : a.pictures) {
            if (a.hasTable)
                catalogue.picture(a.id, p.mp2, p.image);
            media.declareMedia(narrationPath(p.mp2), p.speaksMs);
            pictures.declarePicture(root_ + "\\video\\" + p.image);
        }
    }
    catalogue.writeToCourse(root_, password);
}

std::string Course::videoPath(const std::string& video) const {
    return root_ + "\\video\\" + video;
}

std::string Course::narrationPath(const std::string& clip) const {
    return root_ + "\\sound\\mp2\\" + clip + ".mp2";
}

}  // namespace tessaro::testing
