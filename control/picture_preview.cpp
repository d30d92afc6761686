// SPDX-License-Identifier: MIT
#include <string>

#include <tessaro/kavo_video_sync.h>
#include "control/kavo_video_sync_fields.h"
#include "course/course_catalogue.h"
#include "course/course_folder.h"

namespace tessaro {

namespace {

inline constexpr int PicturePreviewIntervalMs = 200;

}  // namespace

// The catalogue lies below the control library's own folder, not below Resourcedir; the
// pictures themselves are still taken from Resourcedir.
Variant KavoVideoSync::Ppreview() {
    media().execute("close all");
    f_.PhotoPreview = True;
    Timer2().setInterval(PicturePreviewIntervalMs);
    const std::string cataloguePath = course::cataloguePath(services_.moduleFolder.path());
    f_.LastClip = False;
    openCatalogue(cataloguePath);
    f_.rs = database().openRecordset(asanaQuery());
    recordset().moveFirst();
    const Variant asanaId = recordset().field("AsanaID");
    f_.rs = database().openRecordset(
        course::clipsQuery(course::clipsQueryPrefix(course::AsanaKind::Pictures), asanaId));
    InitAudio();
    Timer2().setEnabled(true);
    return {};
}

}  // namespace tessaro
