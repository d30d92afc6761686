// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "tools/tessaro-render/media_writer.h"
#include "tools/tessaro-render/timeline.h"

namespace tessaro::render {

// One asana of a course render: its rendered file beside the index, or why there is none.
struct IndexEntry {
    std::string name;
    std::string file;  // "" when the render failed
    std::string chapters;
    std::string error;
    Timeline timeline;
};

// The file name an asana gets in a course folder: its place in the catalogue, then its
// name with every character that a file name or an address would have to escape
// replaced by "-" (letters beyond ASCII stay): "03-Surya-Namaskar.mp4".
std::string courseFileName(int index, int count, const std::string& asana, Container container);

// A page that needs no server and no script from elsewhere: the asanas in catalogue
// order, each playable in place, with its clip list (a click plays from that clip).
std::string courseIndexHtml(const std::string& courseTitle, const std::vector<IndexEntry>& entries);

}  // namespace tessaro::render
