// SPDX-License-Identifier: MIT
#include "course/course_folder.h"

#include <algorithm>

namespace tessaro::course {
namespace {

constexpr std::string_view CatalogueFolder = "hotspots";
constexpr std::string_view VideoFolder = "video";
constexpr std::string_view NarrationFolder = "sound\\mp2";
constexpr std::string_view NarrationExtension = ".mp2";

std::string below(std::string_view folder, std::string_view name) {
    std::string path(folder);
    return path.append("\\").append(name);
}

}  // namespace

std::string cataloguePath(std::string_view folder) {
    return below(below(folder, CatalogueFolder), CatalogueFileName);
}

std::string previewCataloguePath(std::string_view folder) {
    return below(videoFolder(folder), CatalogueFileName);
}

std::string videoFolder(std::string_view folder) {
    return below(folder, VideoFolder);
}

std::string narrationFolder(std::string_view folder) {
    return below(folder, NarrationFolder);
}

std::string videoPath(std::string_view folder, std::string_view videoName) {
    return below(videoFolder(folder), videoName);
}

std::string picturePath(std::string_view folder, std::string_view imageName) {
    return below(videoFolder(folder), imageName);
}

std::string narrationPath(std::string_view folder, std::string_view clipName) {
    return below(narrationFolder(folder), std::string(clipName).append(NarrationExtension));
}

std::string posixSpelling(std::string_view windowsPath) {
    std::string path(windowsPath);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace tessaro::course
