// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace tessaro::course {

// A course folder (the control's Resourcedir) holds
//   hotspots\VUDuzu.mdb   the catalogue;
//   video\                the videos, the pictures, and the copy of the catalogue that
//                         the video preview reads;
//   sound\mp2\            the narration clips, NAME.mp2 for the clip NAME.
// Every path here is Windows-style, the folder followed by "\" and the parts, as the
// control builds it; the platform resolves it on the file system (paths::resolve).

// The catalogue's file name, in hotspots\ and in video\.
inline constexpr std::string_view CatalogueFileName = "VUDuzu.mdb";

// folder\hotspots\VUDuzu.mdb.
std::string cataloguePath(std::string_view folder);
// folder\video\VUDuzu.mdb.
std::string previewCataloguePath(std::string_view folder);

// folder\video and folder\sound\mp2.
std::string videoFolder(std::string_view folder);
std::string narrationFolder(std::string_view folder);

// A video (the catalogue's VideoName) or a picture (ImageName): folder\video\NAME.
std::string videoPath(std::string_view folder, std::string_view videoName);
std::string picturePath(std::string_view folder, std::string_view imageName);
// A narration clip (the catalogue's Filename or Mp2name): folder\sound\mp2\NAME.mp2.
std::string narrationPath(std::string_view folder, std::string_view clipName);

// The path with "/" for every "\", as a message shows it on a POSIX system.
std::string posixSpelling(std::string_view windowsPath);

}  // namespace tessaro::course
