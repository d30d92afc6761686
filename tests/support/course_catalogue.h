// SPDX-License-Identifier: MIT
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <tessaro/variant.h>
#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::testing {

// The password the control opens a course's catalogue with.
inline constexpr const char* CataloguePassword = "Lark7meadOW";

// Makes the folders a course keeps its files in below its Resourcedir: video, hotspots and
// sound/mp2.
void makeCourseFolders(const std::filesystem::path& resourcedir);

// A course's catalogue, built row by row: the Asanas table (always there) and each asana's
// clip table (Audio_Asana<id>) or picture table (Photo_Asana<id>), each made by its first
// row or on its own when it is to stay empty.
class CourseCatalogue {
  public:
    // The type of the clip tables' StartPos and EndPos columns.
    explicit CourseCatalogue(catalogue::ColumnType positions = catalogue::ColumnType::Integer);

    void asana(const Variant& name, int id, const Variant& dispType, const Variant& video);
    void clipTable(int id);
    void clip(int id, const Variant& file, const Variant& action, const Variant& startPos,
              const Variant& endPos, const Variant& filelen);
    void pictureTable(int id);
    void picture(int id, const Variant& mp2name, const Variant& imageName);

    const catalogue::CatalogueDescription& description() const { return description_; }
    // Writes VUDuzu.mdb-style files at each path (absolute, not Windows-style).
    void write(const std::vector<std::filesystem::path>& files,
               const std::string& password = CataloguePassword) const;
    // Writes the catalogue to Resourcedir's hotspots/VUDuzu.mdb and video/VUDuzu.mdb.
    void writeToCourse(const std::filesystem::path& resourcedir,
                       const std::string& password = CataloguePassword) const;

  private:
    catalogue::TableDescription& table(const std::string& name,
                                       std::vector<catalogue::ColumnDescription> columns);

    catalogue::ColumnType positions_;
    catalogue::CatalogueDescription description_;
};

}  // namespace tessaro::testing
