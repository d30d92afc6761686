// SPDX-License-Identifier: MIT
#include <string>

#include <tessaro/kavo_video_sync.h>
#include "control/error_modes.h"
#include "control/kavo_video_sync_fields.h"
#include "course/course_folder.h"

namespace tessaro {

namespace {

// A number's text form with its sign position: a blank before a non-negative value.
std::string withSignPosition(std::intptr_t value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

}  // namespace

std::string KavoVideoSync::videoOpenCommand() const {
    return "open " + course::videoPath(Resourcedir(), f_.VideoFile) +
           "  alias video type mpegVideo  style child parent " +
           withSignPosition(Picture1().windowHandle());
}

std::string KavoVideoSync::narrationOpenCommand() const {
    return "open " + course::narrationPath(Resourcedir(), f_.ClipFile) +
           " alias Sound type mpegVideo";
}

void KavoVideoSync::InitVideo() {
    NoErrorMode mode;
    media().execute(videoOpenCommand());
    media().execute("set video time format frames");
    recordset().moveFirst();
    f_.VideoPreview = False;
    loadClipRecord(mode);
    const std::string narrationOpen = narrationOpenCommand();
    f_.VideoMode = True;
    media().execute(narrationOpen);
    startVideoAndFirstClip();
    f_.SoundStatus = "Playing";
    f_.VideoStatus = "Playing";
    playbackStarted();
    Timer1().setEnabled(true);
    recordset().moveNext();
    if (recordset().eof())
        enterLastClipSpeaking(mode);
    else
        loadClipRecord(mode);
}

// The first clip speaks from the video's first frame, whatever its own start frame.
void KavoVideoSync::startVideoAndFirstClip() {
    media().execute("play video");
    media().execute("pause video");
    container().yield();
    media().execute("play sound");
    media().execute("play video");
}

void KavoVideoSync::enterLastClipSpeaking(ErrorMode& mode) {
    mode.step([&] { recordset().close(); });
    mode.step([&] { database().close(); });
    f_.ClipStart = -10;
    f_.VideoStatus = "Pause";
    f_.LastClip = True;
}

}  // namespace tessaro
