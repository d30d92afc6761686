// SPDX-License-Identifier: MIT
#include <string>

#include <tessaro/kavo_video_sync.h>
#include "control/error_modes.h"
#include "control/kavo_video_sync_fields.h"
#include "course/course_catalogue.h"
#include "course/course_folder.h"

namespace tessaro {

namespace {

inline constexpr int StripTopAfterLookup = 287;

}  // namespace

void KavoVideoSync::fileOpen() {
    f_.AudioNo = 1;
    media().execute("close all");
    const std::string cataloguePath = course::cataloguePath(Resourcedir());
    f_.LastClip = False;
    IgnoreAndContinue mode(f_.LastError);
    if (!findAsana(mode, cataloguePath)) {
        container().messageBox("Asana not found - " + f_.AsanaNaME);
        return;
    }
    Variant asanaId;
    mode.step([&] { asanaId = recordset().field("AsanaID"); });
    if (mode.test([&] {
            return course::kindOf(recordset().field("Disp_Type")) == course::AsanaKind::Video;
        })) {
        mode.step([&] { f_.VideoFile = recordset().field("VideoName").toText(); });
        if (!openClipTable(mode, course::clipsQueryPrefix(course::AsanaKind::Video), asanaId))
            return;
        publishClipCount(mode);
        mode.step([&] { InitVideo(); });
    } else {
        f_.PhotoPreview = False;
        if (!openClipTable(mode, course::clipsQueryPrefix(course::AsanaKind::Pictures), asanaId))
            return;
        publishClipCount(mode);
        mode.step([&] { InitAudio(); });
    }
}

// A catalogue that cannot be opened, or an asana query that cannot run, counts as the
// asana not found: going on would play what the fields held before.
bool KavoVideoSync::findAsana(IgnoreAndContinue& mode, const std::string& cataloguePath) {
    const bool opened = mode.step([&] { openCatalogue(cataloguePath); });
    mode.step([&] { Picture1().setPicture(host::Picture()); });
    f_.VideoPreview = False;
    const bool queried =
        opened && mode.step([&] { f_.rs = database().openRecordset(asanaQuery()); });
    if (queried)
        mode.step([&] { recordset().moveFirst(); });
    Picture2().setTop(StripTopAfterLookup);
    return queried && f_.LastError != catalogue::errors::NoCurrentRecord;
}

// A failed open leaves db as it was.
void KavoVideoSync::openCatalogue(const std::string& path) {
    f_.db = course::openCatalogue(services_.engine, path);
}

std::string KavoVideoSync::asanaQuery() const {
    return course::asanaQuery(f_.AsanaNaME);
}

// False when the table cannot be opened: rs would still be the Asanas cursor.
bool KavoVideoSync::openClipTable(IgnoreAndContinue& mode, const std::string& queryPrefix,
                                  const Variant& asanaId) {
    return mode.step(
        [&] { f_.rs = database().openRecordset(course::clipsQuery(queryPrefix, asanaId)); });
}

void KavoVideoSync::publishClipCount(IgnoreAndContinue& mode) {
    mode.step([&] { recordset().moveLast(); });
    mode.step([&] { TotalRec(Variant(recordset().recordCount()).toInt16()); });
    f_.AudioNo = TotalRec();
    mode.step([&] { recordset().moveFirst(); });
    mode.step([&] { container().raiseEvent("CurAudioNos"); });
}

}  // namespace tessaro
