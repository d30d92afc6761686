// SPDX-License-Identifier: MIT
#include "tests/support/course_catalogue.h"

namespace tessaro::testing {

using catalogue::ColumnType;
namespace fs = std::filesystem;

void makeCourseFolders(const fs::path& resourcedir) {
    for (const char* folder : {"video", "hotspots", "sound/mp2"})
        fs::create_directories(resourcedir / folder);
}

CourseCatalogue::CourseCatalogue(ColumnType positions) : positions_(positions) {
    table("Asanas", {{"name", ColumnType::Text, 100},
                     {"AsanaID", ColumnType::Long},
                     {"Disp_Type", ColumnType::Text},
                     {"VideoName", ColumnType::Text}});
}

catalogue::TableDescription& CourseCatalogue::table(
    const std::string& name, std::vector<catalogue::ColumnDescription> columns) {
    for (catalogue::TableDescription& t : description_.tables)
        if (t.name == name)
            return t;
    return description_.tables.emplace_back(
        catalogue::TableDescription{name, std::move(columns), {}});
}

void CourseCatalogue::asana(const Variant& name, int id, const Variant& dispType,
                            const Variant& video) {
    description_.tables.front().rows.push_back({name, id, dispType, video});
}

void CourseCatalogue::clipTable(int id) {
    table("Audio_Asana" + std::to_string(id), {{"Filename", ColumnType::Text},
                                               {"Action", ColumnType::Text},
                                               {"StartPos", positions_},
                                               {"EndPos", positions_},
                                               {"Filelen", ColumnType::Double}});
}

void CourseCatalogue::clip(int id, const Variant& file, const Variant& action,
                           const Variant& startPos, const Variant& endPos, const Variant& filelen) {
    clipTable(id);
    table("Audio_Asana" + std::to_string(id), {})
        .rows.push_back({file, action, startPos, endPos, filelen});
}

void CourseCatalogue::pictureTable(int id) {
    table("Photo_Asana" + std::to_string(id),
          {{"Mp2name", ColumnType::Text}, {"ImageName", ColumnType::Text}});
}

void CourseCatalogue::picture(int id, const Variant& mp2name, const Variant& imageName) {
    pictureTable(id);
    table("Photo_Asana" + std::to_string(id), {}).rows.push_back({mp2name, imageName});
}

void CourseCatalogue::write(const std::vector<fs::path>& files, const std::string& password) const {
    for (const fs::path& file : files)
        catalogue::writeCatalogue(description_, file.string(), password);
}

void CourseCatalogue::writeToCourse(const fs::path& resourcedir,
                                    const std::string& password) const {
    write({resourcedir / "hotspots" / "VUDuzu.mdb", resourcedir / "video" / "VUDuzu.mdb"},
          password);
}

}  // namespace tessaro::testing
