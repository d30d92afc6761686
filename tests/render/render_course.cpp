// SPDX-License-Identifier: MIT
#include "tests/render/render_course.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::testing {
namespace {

using catalogue::ColumnType;
using catalogue::TableDescription;

constexpr const char* Password = "Lark7meadOW";

// Bit b of the frame number is the b-th 16-pixel column, white for 1.
void writeBarCodeVideo(const std::string& path, int frames) {
    runCommand(
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
        "\"color=c=black:size=160x128:rate=25,format=gray,"
        "geq=lum='if(bitand(floor(N/pow(2\\,floor(X/16)))\\,1)\\,235\\,16)'\" "
        "-frames:v " +
        std::to_string(frames) + " -c:v mpeg1video -q:v 2 -f mpeg " + shellQuoted(path));
}

void writeNoise(const std::string& path, double seconds, int seed) {
    runCommand(
        "ffmpeg -nostdin -loglevel error -y -f lavfi -i "
        "\"anoisesrc=d=" +
        std::to_string(seconds) + ":c=pink:a=0.5:seed=" + std::to_string(seed) +
        "\" -ar 44100 -ac 1 -c:a mp2 -b:a 128k " + shellQuoted(path));
}

void writePicture(const std::string& path, unsigned rgb) {
    char colour[16];
    std::snprintf(colour, sizeof colour, "0x%06X", rgb);
    runCommand("ffmpeg -nostdin -loglevel error -y -f lavfi -i \"color=c=" + std::string(colour) +
               ":size=120x96\" -frames:v 1 " + shellQuoted(path));
}

std::string pictureName(const TestAsana& a, std::size_t k) {
    return a.clips[k].file + ".jpg";
}

TableDescription asanasTable(const std::vector<TestAsana>& asanas) {
    TableDescription table{"Asanas",
                           {{"name", ColumnType::Text, 50},
                            {"AsanaID", ColumnType::Long},
                            {"Disp_Type", ColumnType::Text, 10},
                            {"VideoName", ColumnType::Text, 50}},
                           {}};
    for (const TestAsana& a : asanas)
        table.rows.push_back({a.name, a.id, a.video.empty() ? "Photo" : "Video",
                              a.video.empty() ? Variant::null() : Variant(a.video)});
    return table;
}

TableDescription clipTable(const TestAsana& a) {
    if (a.video.empty()) {
        TableDescription table{"Photo_Asana" + std::to_string(a.id),
                               {{"Mp2name", ColumnType::Text}, {"ImageName", ColumnType::Text}},
                               {}};
        for (std::size_t k = 0; k < a.clips.size(); ++k)
            table.rows.push_back({a.clips[k].file, pictureName(a, k)});
        return table;
    }
    TableDescription table{"Audio_Asana" + std::to_string(a.id),
                           {{"Filename", ColumnType::Text},
                            {"Action", ColumnType::Text},
                            {"StartPos", ColumnType::Integer},
                            {"EndPos", ColumnType::Integer},
                            {"Filelen", ColumnType::Double}},
                           {}};
    for (const TestClip& c : a.clips)
        table.rows.push_back({c.file, "say", c.startFrame, c.startFrame, c.seconds});
    return table;
}

}  // namespace

std::string shellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void runCommand(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

std::vector<TestAsana> testCourseAsanas() {
    return {
        {"Trikoñásana",
         4,
         "trikona.mpg",
         100,
         {{"trikona_1", 0, 1.5}, {"trikona_2", 25, 0.4}, {"trikona_3", 60, 0.5}},
         {},
         true},
        {"Savasana", 7, "savasana.mpg", 25, {{"savasana_1", 0, 1.6}}, {}, true},
        {"Surya",
         9,
         "",
         0,
         {{"surya_a", 0, 0.5}, {"surya_b", 0, 0.7}, {"surya_c", 0, 0.4}},
         {0xC01010, 0x10C010, 0x1010C0},
         true},
        {"Broken", 12, "savasana.mpg", 25, {{"broken_1", 0, 0.5}}, {}, false},
        {"Unreachable", 13, "savasana.mpg", 25, {{"far_1", 0, 0.3}, {"far_2", 500, 0.3}}, {}, true},
    };
}

void writeTestCourse(const std::string& root, const std::vector<TestAsana>& asanas) {
    namespace fs = std::filesystem;
    fs::create_directories(root + "/video");
    fs::create_directories(root + "/sound/mp2");
    fs::create_directories(root + "/hotspots");
    catalogue::CatalogueDescription description{{asanasTable(asanas)}};
    int seed = 1;
    for (const TestAsana& a : asanas) {
        description.tables.push_back(clipTable(a));
        if (!a.video.empty() && !fs::exists(root + "/video/" + a.video))
            writeBarCodeVideo(root + "/video/" + a.video, a.videoFrames);
        for (std::size_t k = 0; k < a.clips.size(); ++k) {
            if (a.narrationsPresent)
                writeNoise(root + "/sound/mp2/" + a.clips[k].file + ".mp2", a.clips[k].seconds,
                           seed++);
            if (k < a.pictureColours.size())
                writePicture(root + "/video/" + pictureName(a, k), a.pictureColours[k]);
        }
    }
    catalogue::writeCatalogue(description, root + "/hotspots/VUDuzu.mdb", Password);
    fs::copy_file(root + "/hotspots/VUDuzu.mdb", root + "/video/VUDuzu.mdb",
                  fs::copy_options::overwrite_existing);
}

}  // namespace tessaro::testing
