// SPDX-License-Identifier: MIT
#include <tessaro/kavo_video_sync.h>
#include "control/error_modes.h"
#include "control/kavo_video_sync_fields.h"

namespace tessaro {

Variant KavoVideoSync::Pause() {
    Timer1().setEnabled(false);
    Timer2().setEnabled(false);
    if (playbackEnded_)
        return {};
    if (f_.SoundStatus == "Playing")
        media().execute("pause sound");
    if (f_.VideoStatus == "Playing")
        media().execute("pause video");
    return {};
}

// An ended playback has no open devices to play and no loop to resume.
Variant KavoVideoSync::Start() {
    if (playbackEnded_)
        return {};
    if (f_.SoundStatus == "Playing")
        media().execute("play sound");
    if (f_.VideoStatus == "Playing") {
        media().execute("play video");
        Timer1().setEnabled(true);
    }
    if (f_.VideoMode == True)
        Timer1().setEnabled(true);
    else
        Timer2().setEnabled(true);
    return {};
}

Variant KavoVideoSync::StopPlay() {
    IgnoreAndContinue mode(f_.LastError);
    Timer1().setEnabled(false);
    Timer2().setEnabled(false);
    mode.step([&] { database().close(); });
    mode.step([&] { recordset().close(); });
    media().execute("close all");
    ++stops_;
    playbackEnded();
    return {};
}

}  // namespace tessaro
