// SPDX-License-Identifier: MIT
#include <string>

#include <tessaro/kavo_video_sync.h>
#include "control/error_modes.h"
#include "control/kavo_video_sync_fields.h"
#include "platform/media/reply_reading.h"

namespace tessaro {

namespace {

inline constexpr unsigned ReplyLength = 49;

}  // namespace

void KavoVideoSync::videoTick() {
    ReplyArea reply;
    reply.fill(' ');
    if (f_.VideoPreview == True)
        waitForPreviewEnd(reply);
    else
        narrationTick(reply);
}

// In a preview the host's VideoEnd handler runs before Timer1 is disabled. The preview
// is marked ended first, so that a playback the handler starts counts as running.
void KavoVideoSync::waitForPreviewEnd(ReplyArea& reply) {
    IgnoreAndContinue mode(f_.LastError);
    media().sendString("status video mode", reply.data(), ReplyLength, 0);
    if (media::readModeReply(reply.data(), reply.size()) != "STOPPED")
        return;
    playbackEnded();
    mode.step([&] { container().raiseEvent("VideoEnd"); });
    Timer1().setEnabled(false);
}

// The clip fields describe the next clip to start. When the video reaches its start
// frame the video is held until the clip now speaking has stopped; then the next clip
// starts and the video runs on.
void KavoVideoSync::narrationTick(ReplyArea& reply) {
    IgnoreAndContinue mode(f_.LastError);
    const std::string soundMode = querySoundMode(reply);
    const double position = queryVideoPosition(reply);
    holdAtClipStart(position);
    if (!clipHasStoppedWhileHeld(soundMode))
        return;
    closeNarration();
    if (f_.LastClip == True) {
        endNarration(mode);
        return;
    }
    Timer1().setEnabled(false);
    if (!loadClipOrEndUsedUp(mode))
        return;
    if (!startNextClip(mode))
        return;
    preloadFollowingClip(mode);
}

std::string KavoVideoSync::querySoundMode(ReplyArea& reply) {
    media().sendString("status sound mode", reply.data(), ReplyLength, 0);
    return media::readModeReply(reply.data(), reply.size());
}

// Written over the sound mode's reply without blanking the area first.
double KavoVideoSync::queryVideoPosition(ReplyArea& reply) {
    media().sendString("status video Position", reply.data(), ReplyLength, 0);
    return media::readPositionReply(reply.data(), reply.size());
}

// Sent again on every tick while the video waits.
void KavoVideoSync::holdAtClipStart(double position) {
    if (position >= f_.ClipStart && f_.ClipStart >= 0) {
        f_.VideoStatus = "Pause";
        media().execute("pause video");
    }
}

bool KavoVideoSync::clipHasStoppedWhileHeld(const std::string& soundMode) const {
    return soundMode == "STOPPED" && f_.VideoStatus == "Pause";
}

void KavoVideoSync::closeNarration() {
    media().execute("close sound");
    f_.SoundStatus = "Stopped";
}

// The video device is left as it is: it may still be playing.
void KavoVideoSync::endNarration(IgnoreAndContinue& mode) {
    Timer1().setEnabled(false);
    playbackEnded();
    mode.step([&] { container().raiseEvent("VideoEnd"); });
}

// A list found used up before a clip start has nothing left to play: the playback ends
// here rather than replaying the clip the fields still hold.
bool KavoVideoSync::loadClipOrEndUsedUp(IgnoreAndContinue& mode) {
    if (mode.test([&] { return !recordset().eof(); })) {
        loadClipRecord(mode);
        return true;
    }
    mode.step([&] { recordset().close(); });
    mode.step([&] { database().close(); });
    f_.ClipStart = -10;
    f_.LastClip = True;
    f_.VideoStatus = "Pause";
    endNarration(mode);
    return false;
}

// False when the host stopped the playback inside its CurAudioNos handler: nothing may
// be reopened or resumed then.
bool KavoVideoSync::startNextClip(IgnoreAndContinue& mode) {
    const std::string narrationOpen = narrationOpenCommand();
    mode.step([&] { TotalRec(Variant(TotalRec() + f_.AudioNo).toInt16()); });
    const unsigned stopsBefore = stops_;
    mode.step([&] { container().raiseEvent("CurAudioNos"); });
    if (stops_ != stopsBefore)
        return false;
    media().execute(narrationOpen);
    Timer1().setEnabled(true);
    media().execute("play sound");
    media().execute("play video");
    f_.SoundStatus = "Playing";
    f_.VideoStatus = "Playing";
    return true;
}

void KavoVideoSync::preloadFollowingClip(IgnoreAndContinue& mode) {
    if (mode.test([&] { return recordset().eof(); }))
        return;
    mode.step([&] { recordset().moveNext(); });
    if (mode.test([&] { return !recordset().eof(); }))
        loadClipRecord(mode);
    else
        enterLastClipSpeaking(mode);
}

}  // namespace tessaro
