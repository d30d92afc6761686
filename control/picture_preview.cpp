// SPDX-License-Identifier: MIT
#include <string>

#include <tessaro/kavo_video_sync.h>

#include "control/kavo_video_sync_fields.h"
#include "platform/values/asana_number.h"

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
    const std::string cataloguePath = services_.moduleFolder.path() + "\\hotspots\\VUDuzu.mdb";
    f_.LastClip = False;
    openCatalogue(cataloguePath);
    f_.rs = database().openRecordset(asanaQuery());
    recordset().moveFirst();
    const Variant asanaId = recordset().field("AsanaID");
    f_.rs = database().openRecordset("select * from Photo_Asana" + asanaNumberText(asanaId));
    InitAudio();
    Timer2().setEnabled(true);
    return {};
}

}  // namespace tessaro
