// SPDX-License-Identifier: MIT
#include <string>

#include <tessaro/kavo_video_sync.h>
#include "control/error_modes.h"
#include "control/kavo_video_sync_fields.h"

namespace tessaro {

namespace {

inline constexpr int ObjectVariableNotSet = 91;

}  // namespace

// One tick of Timer2. The mode is chosen afresh on every tick, so a picture preview
// started during a narrated playback takes its ticks over.
void KavoVideoSync::pictureTick() {
    if (pictureLoopHasNothingLeft()) {
        Timer2().setEnabled(false);
        return;
    }
    if (f_.PhotoPreview == True)
        silentPictureTick();
    else
        narratedPictureTick();
}

// A closed cursor means the rows are used up or the playback was stopped; only the
// replay of the last narration still waits for its end then, unless it was stopped too.
bool KavoVideoSync::pictureLoopHasNothingLeft() const {
    const bool replayingLastNarration = f_.PhotoPreview == False && f_.LastClip == True &&
                                        f_.SoundStatus == "Playing" && !playbackEnded_;
    if (replayingLastNarration)
        return false;
    try {
        recordset().eof();
        return false;
    } catch (const Error& e) {
        return e.number() == catalogue::errors::ObjectClosed || e.number() == ObjectVariableNotSet;
    }
}

// The next picture follows once the narration of the shown one has played to its end.
// Timer2 stays disabled while the host handles CurAudioNos. A cursor that cannot be
// tested or moved counts as used up, so that the playback ends instead of stalling with
// Timer2 off.
void KavoVideoSync::narratedPictureTick() {
    ReplyArea reply;
    reply.fill(' ');
    if (querySoundMode(reply) != "STOPPED")
        return;
    closeNarration();
    if (f_.LastClip == True) {
        Timer2().setEnabled(false);
        playbackEnded();
        container().raiseEvent("VideoEnd");
        return;
    }
    Timer2().setEnabled(false);
    IgnoreAndContinue mode(f_.LastError);
    if (mode.test([&] { return recordset().eof(); })) {
        prepareReplayOfLastNarration();
    } else if (mode.test([&] {
                   recordset().moveNext();
                   return recordset().eof();
               })) {
        closeUsedUpRows(mode);
        playbackEnded();
        mode.step([&] { container().raiseEvent("VideoEnd"); });
        return;
    } else {
        showRowOrClearPicture();
    }
    startNextNarration();
}

// Rows found used up before the move: ClipFile still names the narration that has just
// ended, and it is played once more; its end then ends the playback.
void KavoVideoSync::prepareReplayOfLastNarration() {
    IgnoreAndContinue mode(f_.LastError);
    mode.step([&] { clearPicture1(); });
    f_.ClipStart = -10;
    mode.step([&] { recordset().close(); });
    mode.step([&] { database().close(); });
    f_.LastClip = True;
}

// Each picture stays for one interval; the tick after the last one ends the preview.
// VideoEnd is raised before Timer2 is disabled.
void KavoVideoSync::silentPictureTick() {
    IgnoreAndContinue mode(f_.LastError);
    if (mode.test([&] { return recordset().eof(); })) {
        clearPicture1();
        f_.ClipStart = -10;
        mode.step([&] { recordset().close(); });
        mode.step([&] { database().close(); });
        f_.LastClip = True;
        playbackEnded();
        return;
    }
    if (mode.test([&] {
            recordset().moveNext();
            return recordset().eof();
        })) {
        closeUsedUpRows(mode);
        playbackEnded();
        mode.step([&] { container().raiseEvent("VideoEnd"); });
        mode.step([&] { Timer2().setEnabled(false); });
        return;
    }
    showRowOrClearPicture();
}

// A row whose names cannot be read or whose picture is missing or damaged leaves
// Picture1 empty; the playback goes on with the narration named in ClipFile.
void KavoVideoSync::showRowOrClearPicture() {
    IgnoreAndContinue mode(f_.LastError);
    if (!mode.step([&] {
            loadPictureRow();
            showPicture();
        }))
        clearPicture1();
}

void KavoVideoSync::closeUsedUpRows(IgnoreAndContinue& mode) {
    f_.ClipStart = -10;
    f_.LastClip = True;
    mode.step([&] { recordset().close(); });
    mode.step([&] { database().close(); });
}

// A host that stops the playback inside its CurAudioNos handler has ended it: the
// narration is then not opened and Timer2 stays off.
void KavoVideoSync::startNextNarration() {
    f_.AudioNo += 1;
    const std::string openCommand = narrationOpenCommand();
    const unsigned stopsBefore = stops_;
    IgnoreAndContinue mode(f_.LastError);
    mode.step([&] { container().raiseEvent("CurAudioNos"); });
    if (stops_ != stopsBefore)
        return;
    media().execute(openCommand);
    Timer2().setEnabled(true);
    media().execute("play sound");
    f_.SoundStatus = "Playing";
}

}  // namespace tessaro
