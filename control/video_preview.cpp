// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cctype>
#include <string>

#include <tessaro/kavo_video_sync.h>
#include "control/kavo_video_sync_fields.h"
#include "course/course_folder.h"

namespace tessaro {

namespace {

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

Variant KavoVideoSync::Preview() {
    media().execute("close all");
    const std::string cataloguePath = course::previewCataloguePath(f_.Resourcedir);
    f_.LastClip = False;
    openCatalogue(cataloguePath);
    f_.rs = database().openRecordset(asanaQuery());
    recordset().moveFirst();
    recordset().field("AsanaID");
    if (upperCase(recordset().field("Disp_type").toText()) == "PHOTO") {
        Ppreview();
        return {};
    }
    f_.VideoFile = recordset().field("VideoName").toText();
    media().execute(videoOpenCommand());
    media().execute("play video");
    f_.VideoPreview = True;
    playbackStarted();
    Timer1().setEnabled(true);
    return {};
}

}  // namespace tessaro
