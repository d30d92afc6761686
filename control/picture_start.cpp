// SPDX-License-Identifier: MIT
#include <tessaro/kavo_video_sync.h>
#include "control/kavo_video_sync_fields.h"
#include "course/course_folder.h"

namespace tessaro {

namespace {

inline constexpr int NarratedPictureIntervalMs = 10;

}  // namespace

// A silent preview keeps the interval its caller set and opens no narration.
void KavoVideoSync::InitAudio() {
    recordset().moveFirst();
    f_.VideoMode = False;
    loadPictureRow();
    showPicture();
    container().yield();
    if (f_.PhotoPreview == False) {
        Timer2().setInterval(NarratedPictureIntervalMs);
        media().execute(narrationOpenCommand());
        container().yield();
        media().execute("play sound");
        f_.SoundStatus = "Playing";
    }
    f_.VideoStatus.clear();
    playbackStarted();
    Timer2().setEnabled(true);
}

// ClipFile is stored before ImageName is read: a failing second read leaves the row's
// narration name in place.
void KavoVideoSync::loadPictureRow() {
    f_.ClipFile = recordset().field("Mp2name").toText();
    f_.ClipAction = recordset().field("ImageName").toText();
}

void KavoVideoSync::showPicture() {
    Picture1().setPicture(
        container().pictureLoader().load(course::picturePath(Resourcedir(), f_.ClipAction)));
}

void KavoVideoSync::clearPicture1() {
    Picture1().setPicture(host::Picture());
}

}  // namespace tessaro
