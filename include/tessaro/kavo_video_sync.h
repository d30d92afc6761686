// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include <tessaro/catalogue.h>
#include <tessaro/command_service.h>
#include <tessaro/export.h>
#include <tessaro/host_container.h>
#include <tessaro/module_folder.h>
#include <tessaro/property_bag.h>
#include <tessaro/variant.h>

namespace tessaro {

// How the private steps meet failures (control/error_modes.h, not installed).
class ErrorMode;
class IgnoreAndContinue;

// A 16-bit boolean: true is all bits set. Compared with exactly these two values.
using Flag = std::int16_t;
inline constexpr Flag True = -1;
inline constexpr Flag False = 0;

// The outside services a control instance works through. All outlive the control.
struct ControlServices {
    catalogue::Engine& engine;
    media::CommandService& media;
    host::HostContainer& container;
    host::ModuleFolder& moduleFolder;
};

// The instance fields (control/kavo_video_sync_fields.h, not installed).
struct KavoVideoSyncFields;

// The playback control. A host places it on a window (the container), sets Resourcedir
// and AsanaNaME and calls its methods; it tells the host of each narration start by the
// event "CurAudioNos" and of the end of a playback or preview by "VideoEnd". Everything
// runs on the host's thread. Methods other than fileOpen and StopPlay report failures
// by throwing tessaro::Error.
class TESSARO_EXPORT KavoVideoSync {
  public:
    // Creates the child controls Picture2, Timer2, Picture1, Timer1, in that order.
    explicit KavoVideoSync(ControlServices services);
    // The child controls belong to the host's window and outlive the control: their tick
    // handlers are detached. Devices, timers' Enabled state and the catalogue are left.
    ~KavoVideoSync();
    KavoVideoSync(const KavoVideoSync&) = delete;
    KavoVideoSync& operator=(const KavoVideoSync&) = delete;

    // Looks AsanaNaME up in the catalogue below Resourcedir and starts its playback.
    // Never throws; "Asana not found - NAME" is shown in a message box.
    void fileOpen();
    // Starts the picture playback of the asana on rs.
    void InitAudio();
    // Starts the video playback of the asana on rs.
    void InitVideo();

    std::string Resourcedir() const;
    void Resourcedir(const std::string& value);
    std::string AsanaNaME() const;
    void AsanaNaME(const std::string& value);

    // Ends the playback: timers off, catalogue closed, every media device closed.
    // Never throws.
    Variant StopPlay();
    // Plays the asana's video without narration, or previews a picture asana.
    Variant Preview();
    Variant Pause();
    Variant Start();
    // Leafs silently through the asana's pictures.
    Variant Ppreview();

    std::int16_t TotalRec() const;
    void TotalRec(std::int16_t value);

    // Persistence, called by the host container.
    void InitProperties();
    void ReadProperties(host::PropertyBag& bag);
    void WriteProperties(host::PropertyBag& bag);

    // Read-only view of the instance fields, for the project's own hosts and tests.
    const KavoVideoSyncFields& state() const { return f_; }

    host::PictureBox& Picture1() const { return *Picture1_; }
    host::PictureBox& Picture2() const { return *Picture2_; }
    host::Timer& Timer1() const { return *Timer1_; }
    host::Timer& Timer2() const { return *Timer2_; }

  private:
    // Every playback start marks its playback begun, and a stop or a loop's end marks it
    // ended, so that Pause and Start leave the devices and timers of an ended playback
    // alone.
    void playbackStarted() { playbackEnded_ = false; }
    void playbackEnded() { playbackEnded_ = true; }

    // Lookup (lookup.cpp).
    bool findAsana(IgnoreAndContinue& mode, const std::string& cataloguePath);
    bool openClipTable(IgnoreAndContinue& mode, const std::string& queryPrefix,
                       const Variant& asanaId);
    void publishClipCount(IgnoreAndContinue& mode);
    std::string asanaQuery() const;

    // Video start (video_start.cpp).
    std::string videoOpenCommand() const;
    std::string narrationOpenCommand() const;
    void startVideoAndFirstClip();
    // The state the loop enters once the last clip has started: no clip left to wait
    // for, cursor and catalogue closed, the video running on.
    void enterLastClipSpeaking(ErrorMode& mode);

    // Clip record load (clip_record.cpp): the current row of rs into the clip fields.
    void loadClipRecord(ErrorMode& mode);

    // Timer1 tick (video_tick.cpp).
    using ReplyArea = std::array<char, 50>;
    void videoTick();
    void waitForPreviewEnd(ReplyArea& reply);
    void narrationTick(ReplyArea& reply);
    std::string querySoundMode(ReplyArea& reply);
    double queryVideoPosition(ReplyArea& reply);
    void holdAtClipStart(double position);
    bool clipHasStoppedWhileHeld(const std::string& soundMode) const;
    void closeNarration();
    void endNarration(IgnoreAndContinue& mode);
    bool loadClipOrEndUsedUp(IgnoreAndContinue& mode);
    bool startNextClip(IgnoreAndContinue& mode);
    void preloadFollowingClip(IgnoreAndContinue& mode);

    // Picture row (picture_start.cpp): the current row of rs into ClipFile and ClipAction,
    // and its picture into Picture1.
    void loadPictureRow();
    void showPicture();
    void clearPicture1();

    // Timer2 tick (picture_tick.cpp).
    void pictureTick();
    bool pictureLoopHasNothingLeft() const;
    void narratedPictureTick();
    void silentPictureTick();
    void prepareReplayOfLastNarration();
    void showRowOrClearPicture();
    void closeUsedUpRows(IgnoreAndContinue& mode);
    void startNextNarration();

    // The catalogue, opened by the lookup and both previews (lookup.cpp).
    void openCatalogue(const std::string& path);

    // The handles, or Error 91 when none has been stored yet.
    catalogue::Database& database() const;
    catalogue::Recordset& recordset() const;
    media::CommandService& media() const { return services_.media; }
    host::HostContainer& container() const { return services_.container; }

    ControlServices services_;
    std::unique_ptr<KavoVideoSyncFields> fields_;
    KavoVideoSyncFields& f_;
    host::PictureBox* Picture2_;
    host::Timer* Timer2_;
    host::PictureBox* Picture1_;
    host::Timer* Timer1_;
    // True once a playback or preview has been stopped or has ended by itself.
    bool playbackEnded_ = false;
    // Counts StopPlay calls, so that a tick sees a stop made inside its event handler.
    unsigned stops_ = 0;
    // Set while a tick of that timer runs: a tick never starts inside another.
    bool inTimer1Tick_ = false;
    bool inTimer2Tick_ = false;
};

}  // namespace tessaro
