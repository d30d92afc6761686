// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/timeline_recorder.h"
#include "control/kavo_video_sync_fields.h"

#include <deque>
#include <memory>
#include <optional>
#include <vector>

#include <tessaro/catalogue.h>
#include <tessaro/command_service.h>
#include <tessaro/kavo_video_sync.h>
#include "platform/media/interpreter.h"
#include "platform/paths/paths.h"
#include "sim/fixed_module_folder.h"
#include "sim/sim_backend.h"
#include "sim/sim_container.h"

namespace tessaro::render {
namespace {

// Nothing playing for this long (virtual time) and still no VideoEnd: it will not come.
constexpr std::int64_t StallMs = 2000;
constexpr int TwipsPerPixel = 15;
const std::string NotFoundPrefix = "Asana not found - ";

// Failures met on the way, in the order they came; the first one fails the render.
using Failures = std::vector<Error>;

// Forwards to the sim player and notes every change of its playing state in its track.
class RecordingPlayer : public media::Player {
  public:
    RecordingPlayer(std::unique_ptr<media::Player> inner, DeviceTrack& track,
                    const sim::VirtualClock& clock)
        : inner_(std::move(inner)), track_(track), clock_(clock) {}
    ~RecordingPlayer() override {
        inner_->stop();
        note();
        track_.closedMs = clock_.nowMs();
    }

    void play() override {
        inner_->play();
        note();
    }
    void pause() override {
        inner_->pause();
        note();
    }
    void stop() override {
        inner_->stop();
        note();
    }
    void seek(double positionMs) override {
        inner_->seek(positionMs);
        note();
    }
    media::PlayerMode mode() override { return inner_->mode(); }
    double positionMs() override { return inner_->positionMs(); }
    double lengthMs() override { return inner_->lengthMs(); }
    double frameRate() override { return inner_->frameRate(); }

  private:
    void note() {
        track_.record(
            {clock_.nowMs(), inner_->positionMs(), inner_->mode() == media::PlayerMode::Playing});
    }

    std::unique_ptr<media::Player> inner_;
    DeviceTrack& track_;
    const sim::VirtualClock& clock_;
};

// The virtual-clock backend, fed on each open with what the real file holds.
class RecordingBackend : public media::PlayerBackend {
  public:
    RecordingBackend(sim::VirtualClock& clock, MediaLibrary& library,
                     std::deque<DeviceTrack>& tracks, Failures& failures)
        : sim_(clock), clock_(clock), library_(library), tracks_(tracks), failures_(failures) {}

    std::unique_ptr<media::Player> open(const std::string& path,
                                        std::intptr_t parentWindow) override {
        const MediaFacts& facts = mediaOf(path);
        sim_.declareMedia(path, facts.lengthMs(), facts.frameRate());
        auto inner = sim_.open(path, parentWindow);
        DeviceTrack& track = tracks_.emplace_back();
        track.path = path;
        track.lengthMs = facts.lengthMs();
        track.rateNumerator = facts.rateNumerator;
        track.rateDenominator = facts.rateDenominator;
        track.openedMs = clock_.nowMs();
        return std::make_unique<RecordingPlayer>(std::move(inner), track, clock_);
    }

  private:
    const MediaFacts& mediaOf(const std::string& path) {
        try {
            return library_.media(path);
        } catch (const Error& error) {
            failures_.push_back(error);
            throw;
        }
    }

    media::SimBackend sim_;
    sim::VirtualClock& clock_;
    MediaLibrary& library_;
    std::deque<DeviceTrack>& tracks_;
    Failures& failures_;
};

// Pictures are read from the course's files; the picture keeps the resolved path.
class FilePictureLoader : public host::PictureLoader {
  public:
    FilePictureLoader(MediaLibrary& library, Failures& failures)
        : library_(library), failures_(failures) {}

    host::Picture load(std::string_view path) override {
        if (path.empty())
            return {};
        const std::string resolved = paths::resolve(path);
        try {
            library_.picture(resolved);
        } catch (const Error& error) {
            failures_.push_back(error);
            throw;
        }
        return host::Picture(resolved, nullptr);
    }

  private:
    MediaLibrary& library_;
    Failures& failures_;
};

class RenderContainer : public sim::SimContainer {
  public:
    RenderContainer(sim::VirtualClock& clock, MediaLibrary& library, Failures& failures)
        : SimContainer(clock), pictures_(library, failures) {}
    host::PictureLoader& pictureLoader() override { return pictures_; }

  private:
    FilePictureLoader pictures_;
};

// One run of the control, from fileOpen to VideoEnd.
class Recording {
  public:
    Recording(const std::string& resourceDir, const std::string& asana, MediaLibrary& library)
        : container_(clock_, library, failures_),
          interpreter_(std::make_unique<RecordingBackend>(clock_, library, tracks_, failures_)),
          moduleFolder_(resourceDir),
          control_({catalogue::processEngine(), interpreter_, container_, moduleFolder_}) {
        timeline_.asana = asana;
        // A failed command keeps its number; a stream failure that a command found, which
        // itself went well, is the service's internal error.
        interpreter_.setErrorReporter([this](const std::string& message) {
            const int number = interpreter_.lastOutcome().number;
            failures_.emplace_back(
                static_cast<int>(number != 0 ? number : media::errors::InternalError), message);
        });
        container_.onMessageBox([this](std::string_view text) { message_ = text; });
        container_.onEvent("CurAudioNos", [this] {
            if (timeline_.clips == 0)
                timeline_.clips = control_.TotalRec();
        });
        container_.onEvent("VideoEnd", [this] { ended_ = true; });
        control_.Resourcedir(resourceDir);
        control_.AsanaNaME(asana);
    }
    ~Recording() { control_.StopPlay(); }

    Timeline run() {
        control_.fileOpen();
        notePicture();
        std::int64_t lastPlayingMs = 0;
        while (!ended_) {
            failIfTroubled();
            if (anythingPlaying())
                lastPlayingMs = clock_.nowMs();
            else if (clock_.nowMs() - lastPlayingMs > StallMs)
                throw Error(media::errors::InternalError, stallMessage());
            container_.advance(1);
            notePicture();
        }
        return finishedTimeline();
    }

  private:
    void failIfTroubled() const {
        if (message_ && message_->rfind(NotFoundPrefix, 0) == 0)
            throw Error(AsanaNotFound, *message_);
        if (message_)
            throw Error(media::errors::InternalError, *message_);
        if (!failures_.empty())
            throw failures_.front();
    }

    bool anythingPlaying() const {
        const double now = static_cast<double>(clock_.nowMs());
        for (const DeviceTrack& t : tracks_)
            if (t.closedMs < 0 && t.playingAt(now))
                return true;
        return false;
    }

    // The one stall a course can cause by itself: a clip due past the video's last frame.
    std::string stallMessage() const {
        const auto& state = control_.state();
        const std::string why = "the control never raised VideoEnd";
        const double now = static_cast<double>(clock_.nowMs());
        for (const DeviceTrack& t : tracks_) {
            const bool videoAtItsEnd = t.rateNumerator > 0 && t.positionAt(now) >= t.lengthMs;
            if (videoAtItsEnd && state.VideoMode == True && state.ClipStart >= 0)
                return why + ": the video ended at frame " + std::to_string(t.frameAt(now)) +
                       " before the next clip's start frame " + std::to_string(state.ClipStart);
        }
        return why + ": nothing plays any more";
    }

    void notePicture() {
        const std::string& shown = control_.Picture1().picture().source();
        auto& pictures = timeline_.pictures;
        if (pictures.empty() || pictures.back().path != shown)
            pictures.push_back({clock_.nowMs(), shown});
    }

    Timeline finishedTimeline() {
        timeline_.endMs = clock_.nowMs();
        timeline_.video = control_.state().VideoMode == True;
        for (const DeviceTrack& t : tracks_) {
            if (t.rateNumerator > 0)
                timeline_.videoTrack = t;
            else
                timeline_.narrations.push_back(t);
        }
        const auto& box = container_.pictureBox("Picture1");
        timeline_.boxWidth = box.width() / TwipsPerPixel;
        timeline_.boxHeight = box.height() / TwipsPerPixel;
        return timeline_;
    }

    sim::VirtualClock clock_;
    Failures failures_;
    std::deque<DeviceTrack> tracks_;
    RenderContainer container_;
    media::Interpreter interpreter_;
    host::FixedModuleFolder moduleFolder_;
    KavoVideoSync control_;
    Timeline timeline_;
    std::optional<std::string> message_;
    bool ended_ = false;
};

}  // namespace

Timeline recordTimeline(const std::string& resourceDir, const std::string& asana,
                        MediaLibrary& library) {
    return Recording(resourceDir, asana, library).run();
}

}  // namespace tessaro::render
