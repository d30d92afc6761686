// SPDX-License-Identifier: MIT
#include "tests/control/course.h"

#include <stdlib.h>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::testing {

namespace {

using catalogue::ColumnType;
using catalogue::TableDescription;

TableDescription asanasTable(const std::vector<Asana>& asanas) {
    TableDescription table{"Asanas",
                           {{"name", ColumnType::Text, 100},
                            {"AsanaID", ColumnType::Long},
                            {"Disp_Type", ColumnType::Text},
                            {"VideoName", ColumnType::Text}},
                           {}};
    for (const Asana& a : asanas)
        table.rows.push_back({a.name, a.id, a.dispType, a.video});
    return table;
}

TableDescription clipTable(const Asana& a) {
    TableDescription table{"Audio_Asana" + std::to_string(a.id),
                           {{"Filename", ColumnType::Text},
                            {"Action", ColumnType::Text},
                            {"StartPos", ColumnType::Double},
                            {"EndPos", ColumnType::Double},
                            {"Filelen", ColumnType::Double}},
                           {}};
    for (const ClipRow& c : a.clips)
        table.rows.push_back({c.file, c.action, c.startPos, c.endPos, c.filelen});
    return table;
}

TableDescription pictureTable(const Asana& a) {
    TableDescription table{"Photo_Asana" + std::to_string(a.id),
                           {{"Mp2name", ColumnType::Text}, {"ImageName", ColumnType::Text}},
                           {}};
    for (const PictureRow& p : a.pictures)
        table.rows.push_back({p.mp2, p.image});
    return table;
}

}  // namespace

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

Course::Course() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaro-course-XXXXXX");
    root_ = mkdtemp(pattern.data());
    std::filesystem::create_directories(root_ + "/hotspots");
    std::filesystem::create_directories(root_ + "/video");
}

Course::~Course() {
    std::filesystem::remove_all(root_);
}

void Course::write(const std::vector<Asana>& asanas, media::SimBackend& media,
                   sim::SimPictureLoader& pictures, const std::string& password) {
    catalogue::CatalogueDescription description{{asanasTable(asanas)}};
    for (const Asana& a : asanas) {
        if (a.hasTable)
            description.tables.push_back(a.pictures.empty() ? clipTable(a) : pictureTable(a));
        if (a.videoExists)
            media.declareMedia(videoPath(a.video), a.videoMs, FramesPerSecond);
        for (const ClipRow& c : a.clips)
            if (c.exists)
                media.declareMedia(narrationPath(c.file), c.speaksMs);
        for (const PictureRow& p : a.pictures) {
            media.declareMedia(narrationPath(p.mp2), p.speaksMs);
            pictures.declarePicture(root_ + "\\video\\" + p.image);
        }
    }
    catalogue::writeCatalogue(description, root_ + "/hotspots/VUDuzu.mdb", password);
    std::filesystem::copy_file(root_ + "/hotspots/VUDuzu.mdb", root_ + "/video/VUDuzu.mdb",
                               std::filesystem::copy_options::overwrite_existing);
}

std::string Course::videoPath(const std::string& video) const {
    return root_ + "\\video\\" + video;
}

std::string Course::narrationPath(const std::string& clip) const {
    return root_ + "\\sound\\mp2\\" + clip + ".mp2";
}

}  // namespace tessaro::testing
