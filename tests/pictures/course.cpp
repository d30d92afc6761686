// SPDX-License-Identifier: MIT
#include "tests/pictures/course.h"

#include <stdlib.h>

#include <filesystem>

#include "platform/catalogue/writer/catalogue_writer.h"
#include "platform/paths/paths.h"

namespace tessaro::testing {

namespace {

using catalogue::ColumnType;

catalogue::TableDescription asanasTable(const std::vector<AsanaEntry>& asanas) {
    catalogue::TableDescription table{"Asanas",
                                      {{"name", ColumnType::Text, 50},
                                       {"AsanaID", ColumnType::Long},
                                       {"Disp_Type", ColumnType::Text, 20},
                                       {"VideoName", ColumnType::Text, 50}},
                                      {}};
    for (const AsanaEntry& a : asanas)
        table.rows.push_back({a.name, a.id, a.dispType, a.videoName});
    return table;
}

catalogue::TableDescription pictureTable(const AsanaEntry& asana) {
    catalogue::TableDescription table{
        "Photo_Asana" + std::to_string(asana.id),
        {{"Mp2name", ColumnType::Text, 50}, {"ImageName", ColumnType::Text, 50}},
        {}};
    for (const PictureRow& row : asana.pictures)
        table.rows.push_back({row.mp2name, row.imageName});
    return table;
}

catalogue::TableDescription clipTable(const AsanaEntry& asana) {
    catalogue::TableDescription table{"Audio_Asana" + std::to_string(asana.id),
                                      {{"Filename", ColumnType::Text, 50},
                                       {"Action", ColumnType::Text, 50},
                                       {"StartPos", ColumnType::Integer},
                                       {"EndPos", ColumnType::Integer},
                                       {"Filelen", ColumnType::Double}},
                                      {}};
    for (const ClipRow& row : asana.clips)
        table.rows.push_back({row.filename, "say", row.startPos, row.startPos + 10, 1.5});
    return table;
}

}  // namespace

Course::Course() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tessaro-pictures-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
    resourcedir_ = root_ + "/course";
    moduleDir_ = root_ + "/module";
    for (const char* folder : {"/course/hotspots", "/course/video", "/module/hotspots"})
        std::filesystem::create_directories(root_ + folder);
}

Course::~Course() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void Course::writeCatalogue(const std::string& windowsPath, const std::vector<AsanaEntry>& asanas) {
    catalogue::CatalogueDescription description;
    description.tables.push_back(asanasTable(asanas));
    for (const AsanaEntry& asana : asanas) {
        if (!asana.pictures.empty() || asana.clips.empty())
            description.tables.push_back(pictureTable(asana));
        if (!asana.clips.empty())
            description.tables.push_back(clipTable(asana));
    }
    catalogue::writeCatalogue(description, paths::resolve(windowsPath), "Lark7meadOW");
}

void Course::writeEverywhere(const std::vector<AsanaEntry>& asanas) {
    writeCatalogue(resourcedir_ + "\\hotspots\\VUDuzu.mdb", asanas);
    writeCatalogue(resourcedir_ + "\\video\\VUDuzu.mdb", asanas);
    writeCatalogue(moduleDir_ + "\\hotspots\\VUDuzu.mdb", asanas);
}

}  // namespace tessaro::testing
