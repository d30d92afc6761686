// SPDX-License-Identifier: MIT
// Media and catalogue files that are damaged, vanish or fail while the real control plays
// them through GStreamer: the host goes on, each failure is shown once, StopPlay leaves no
// device open, and once the files are whole again the next fileOpen plays the asana through.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include <tessaro/kavo_video_sync_widget.h>
#include <tessaro/message_presenter.h>
#include "platform/media/gst/gst_backend.h"
#include "platform/media/reply_reading.h"
#include "tests/media_gst/test_media.h"
#include "tests/qt/qt_test_main.h"
#include "tests/qt/test_course.h"

namespace tessaro::qt {
namespace {

namespace fs = std::filesystem;
using testing::spinUntil;

void writeRandomBytes(std::ostream& out, std::uintmax_t count) {
    std::mt19937 bytes(20240607);
    for (std::uintmax_t i = 0; i < count; ++i)
        out.put(static_cast<char>(bytes() & 0xff));
}

void truncateToAThird(const fs::path& file) {
    fs::resize_file(file, fs::file_size(file) / 3);
}

// Random bytes over the middle fifth, in place.
void scrambleTheMiddle(const fs::path& file) {
    const auto size = fs::file_size(file);
    std::fstream out(file, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(size * 2 / 5));
    writeRandomBytes(out, size / 5);
}

void writeNotes(const fs::path& file) {
    std::ofstream(file, std::ios::trunc) << "Notes for the lesson, not media.\n";
}

// Another file takes the name; a device that has the old one open keeps it.
void replaceByRename(const fs::path& file) {
    const fs::path other = file.string() + ".new";
    writeNotes(other);
    fs::rename(other, file);
}

// As cp writes over a file: the same file, other bytes.
void overwriteInPlace(const fs::path& file) {
    const auto size = fs::file_size(file);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    writeRandomBytes(out, size);
}

void removeFile(const fs::path& file) {
    fs::remove(file);
}

void leaveAlone(const fs::path&) {}

enum class Spoiled { BeforeOpen, AfterOpen };
enum class Loop { Ends, GoesOn };

struct Fault {
    const char* name;
    const char* asana;
    const char* file;
    Spoiled when;
    void (*spoil)(const fs::path&);
    Loop loop;
    // The error boxes shown, in order, each named by its verb and device.
    std::vector<std::string> boxes;
    // A sink for the video in place of Picture1's, while the video opens.
    const char* videoSink = nullptr;
    friend void PrintTo(const Fault& fault, std::ostream* out) { *out << fault.name; }
};

const std::vector<std::string> NoBox;

// The mode of a device of the process's media service, or its error number.
std::string deviceStatus(const std::string& device) {
    char area[50];
    std::fill(std::begin(area), std::end(area), ' ');
    const int number =
        media::processMediaService().sendString("status " + device + " mode", area, 49, 0);
    return number ? "error " + std::to_string(number) : media::readModeReply(area, sizeof area);
}

bool nothingPlays() {
    return deviceStatus("video") != "PLAYING" && deviceStatus("sound") != "PLAYING";
}

// The course of TestCourse with a video that is not one colour, so that a damaged middle
// hits coded frames: Tadasana (video 2 s, clip1 from frame 0, clip2 from frame 25) and
// Vrksasana (two pictures with clip1 and clip2).
class PlaybackFault : public ::testing::TestWithParam<Fault>, protected testing::WithApplication {
  protected:
    PlaybackFault() {
        setMessagePresenter([this](const std::string& text) { boxes.push_back(text); });
        widget.setResourcedir(course.resourcedir());
        QObject::connect(&widget, &KavoVideoSyncWidget::CurAudioNos,
                         [this] { events.push_back("CurAudioNos"); });
        QObject::connect(&widget, &KavoVideoSyncWidget::VideoEnd,
                         [this] { events.push_back("VideoEnd"); });
    }
    ~PlaybackFault() override {
        widget.StopPlay();
        setMessagePresenter({});
    }

    fs::path coursePath(const char* file) const {
        return fs::path(course.resourcedir().toStdString()) / file;
    }
    int count(const char* event) const {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }
    bool loopTimerEnabled() {
        return widget.control().Timer1().enabled() || widget.control().Timer2().enabled();
    }
    // What the spoiled playback does: it ends, or it goes on once nothing plays any more,
    // for longer than the loop takes to notice.
    void playSpoiled(const Fault& fault) {
        widget.setAsanaNaME(fault.asana);
        if (fault.videoSink) {
            const media::testing::ScopedVariable sink("TESSARO_VIDEO_SINK", fault.videoSink);
            widget.fileOpen();
        } else {
            widget.fileOpen();
        }
        if (fault.when == Spoiled::AfterOpen)
            fault.spoil(coursePath(fault.file));
        if (fault.loop == Loop::Ends) {
            EXPECT_TRUE(spinUntil([&] { return count("VideoEnd") > 0; })) << "no VideoEnd";
            return;
        }
        EXPECT_TRUE(spinUntil(nothingPlays)) << "a device plays on";
        spinUntil([] { return false; }, std::chrono::seconds(1));
    }

    testing::TestCourse course{"testsrc=decimals=0"};
    KavoVideoSyncWidget widget;
    std::vector<std::string> events;
    std::vector<std::string> boxes;
};

TEST_P(PlaybackFault, HostGoesOnAndTheNextPlaybackIsWhole) {
    const Fault& fault = GetParam();
    const fs::path file = coursePath(fault.file);
    const fs::path whole = file.string() + ".whole";
    fs::copy_file(file, whole);
    if (fault.when == Spoiled::BeforeOpen)
        fault.spoil(file);

    playSpoiled(fault);
    EXPECT_EQ(count("VideoEnd"), fault.loop == Loop::Ends ? 1 : 0);
    EXPECT_EQ(loopTimerEnabled(), fault.loop == Loop::GoesOn);
    ASSERT_EQ(boxes.size(), fault.boxes.size()) << ::testing::PrintToString(boxes);
    for (std::size_t k = 0; k < boxes.size(); ++k)
        EXPECT_EQ(boxes[k].rfind(fault.boxes[k] + ": ", 0), 0u) << boxes[k];

    widget.StopPlay();
    const std::string notOpen = "error " + std::to_string(media::errors::DeviceNotOpen);
    EXPECT_EQ(deviceStatus("video"), notOpen);
    EXPECT_EQ(deviceStatus("sound"), notOpen);

    fs::rename(whole, file);
    events.clear();
    boxes.clear();
    widget.fileOpen();
    ASSERT_TRUE(spinUntil([&] { return count("VideoEnd") > 0; })) << "no VideoEnd";
    EXPECT_EQ(events, (std::vector<std::string>{"CurAudioNos", "CurAudioNos", "VideoEnd"}));
    EXPECT_EQ(boxes, NoBox);
}

const char* const Narration = "sound/mp2/clip1.mp2";
const char* const Video = "video/pose.mpg";
const char* const Catalogue = "hotspots/VUDuzu.mdb";

INSTANTIATE_TEST_SUITE_P(
    Faults, PlaybackFault,
    ::testing::Values(
        // Damaged in the middle: a short narration ends early; a video that stops before the
        // next clip's frame leaves that clip waiting, as for any video that ends too soon.
        Fault{"NarrationTruncated", "Tadasana", Narration, Spoiled::BeforeOpen, truncateToAThird,
              Loop::Ends, NoBox},
        Fault{"NarrationScrambled", "Tadasana", Narration, Spoiled::BeforeOpen, scrambleTheMiddle,
              Loop::Ends, NoBox},
        Fault{"VideoTruncated", "Tadasana", Video, Spoiled::BeforeOpen, truncateToAThird,
              Loop::GoesOn, NoBox},
        Fault{"VideoScrambled", "Tadasana", Video, Spoiled::BeforeOpen, scrambleTheMiddle,
              Loop::Ends, NoBox},
        // Gone or replaced while open: the devices play the file they opened.
        Fault{"NarrationDeleted", "Tadasana", Narration, Spoiled::AfterOpen, removeFile, Loop::Ends,
              NoBox},
        Fault{"VideoDeleted", "Tadasana", Video, Spoiled::AfterOpen, removeFile, Loop::Ends, NoBox},
        Fault{"NarrationReplaced", "Tadasana", Narration, Spoiled::AfterOpen, replaceByRename,
              Loop::Ends, NoBox},
        Fault{"VideoOverwritten", "Tadasana", Video, Spoiled::AfterOpen, overwriteInPlace,
              Loop::Ends, NoBox},
        // Not media: the open fails, and each later command on the absent device once.
        Fault{"NarrationNotMedia",
              "Tadasana",
              Narration,
              Spoiled::BeforeOpen,
              writeNotes,
              Loop::GoesOn,
              {"open Sound", "play sound"}},
        Fault{"VideoNotMedia",
              "Tadasana",
              Video,
              Spoiled::BeforeOpen,
              writeNotes,
              Loop::GoesOn,
              {"open video", "set video", "play video", "pause video"}},
        Fault{"PictureNarrationNotMedia",
              "Vrksasana",
              Narration,
              Spoiled::BeforeOpen,
              writeNotes,
              Loop::GoesOn,
              {"open Sound", "play sound"}},
        // A pipeline element fails after ten frames, before clip2's frame.
        Fault{"VideoFailsMidStream",
              "Tadasana",
              Video,
              Spoiled::BeforeOpen,
              leaveAlone,
              Loop::GoesOn,
              {"play video"},
              "identity error-after=10 ! fakesink sync=true"},
        // The rows were read when the playback started.
        Fault{"CatalogueRemoved", "Tadasana", Catalogue, Spoiled::AfterOpen, removeFile, Loop::Ends,
              NoBox},
        Fault{"CatalogueRemovedUnderPictures", "Vrksasana", Catalogue, Spoiled::AfterOpen,
              removeFile, Loop::Ends, NoBox}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessaro::qt
