// SPDX-License-Identifier: MIT
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "control/kavo_video_sync_fields.h"
#include "tests/pictures/harness.h"

namespace tessaro::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string pictureName(int k) {
    return "still" + std::to_string(k) + ".png";
}

AsanaEntry pictureAsana(const std::string& name, int id, int rows, const std::string& prefix) {
    AsanaEntry asana{name, id, "Photo", "", {}, {}};
    for (int k = 1; k <= rows; ++k)
        asana.pictures.push_back({"talk" + std::to_string(k), prefix + pictureName(k)});
    return asana;
}

void declarePictures(Harness& h, int rows, const std::string& prefix) {
    for (int k = 1; k <= rows; ++k)
        h.declarePicture(prefix + pictureName(k));
}

class SilentPreview : public ::testing::TestWithParam<int> {};

TEST_P(SilentPreview, ShowsOnePicturePerTwoHundredMillisecondsAndEndsOnTheLastTick) {
    const int rows = GetParam();
    Harness h;
    h.course.writeEverywhere({pictureAsana("Lotus", 12, rows, "")});
    declarePictures(h, rows, "");
    h.name("Lotus");
    const std::int64_t start = h.clock.nowMs();

    EXPECT_TRUE(h.control.Ppreview().isEmpty());
    EXPECT_EQ(h.shown(), h.picturePath(pictureName(1)));
    EXPECT_EQ(h.control.Timer2().interval(), 200);
    EXPECT_TRUE(h.control.Timer2().enabled());
    for (int k = 2; k <= rows; ++k) {
        h.container.advance(199);
        EXPECT_EQ(h.shown(), h.picturePath(pictureName(k - 1)));
        h.container.advance(1);
        EXPECT_EQ(h.shown(), h.picturePath(pictureName(k)));
    }
    h.container.advance(199);
    EXPECT_EQ(h.count("VideoEnd"), 0);
    h.container.advance(1);
    h.container.advance(2000);

    ASSERT_THAT(h.container.events(), ElementsAre("VideoEnd"));
    EXPECT_EQ(h.container.records().back().atMs, start + 200 * rows);
    EXPECT_THAT(h.commands.all(), ElementsAre("close all"));
    EXPECT_FALSE(h.control.Timer2().enabled());
    const KavoVideoSyncFields& s = h.control.state();
    EXPECT_EQ(s.PhotoPreview, True) << "stays set after the preview";
    EXPECT_EQ(s.LastClip, True);
    EXPECT_EQ(s.ClipStart, -10);
    EXPECT_EQ(s.AudioNo, 0);
    EXPECT_EQ(s.SoundStatus, "");
}

INSTANTIATE_TEST_SUITE_P(Rows, SilentPreview, ::testing::Values(1, 2, 5));

// The video-folder copy names the asana a picture asana; its pictures come from the
// catalogue beside the control library, which lists other files.
class PreviewOfPictureAsana : public ::testing::TestWithParam<const char*> {};

TEST_P(PreviewOfPictureAsana, HandsOverToThePicturePreviewOfTheLibraryCatalogue) {
    Harness h;
    AsanaEntry inVideoFolder = pictureAsana("Lotus", 12, 2, "video-copy-");
    inVideoFolder.dispType = GetParam();
    h.course.writeCatalogue(h.course.resourcedir() + "\\video\\VUDuzu.mdb", {inVideoFolder});
    h.course.writeCatalogue(h.course.moduleDir() + "\\hotspots\\VUDuzu.mdb",
                            {pictureAsana("Lotus", 12, 2, "library-")});
    declarePictures(h, 2, "library-");
    h.name("Lotus");

    EXPECT_TRUE(h.control.Preview().isEmpty());
    EXPECT_EQ(h.shown(), h.picturePath("library-" + pictureName(1)));
    ASSERT_TRUE(h.runUntilVideoEnd(5000));
    EXPECT_THAT(h.commands.all(), ElementsAre("close all", "close all"));
    EXPECT_EQ(h.control.state().PhotoPreview, True);
    EXPECT_EQ(h.control.state().VideoPreview, False);
}

INSTANTIATE_TEST_SUITE_P(DisplayTypes, PreviewOfPictureAsana,
                         ::testing::Values("PHOTO", "photo", "Photo", "pHoTo"));

TEST(Preview, PlaysTheVideoAsanaAndEndsWhenTheVideoStops) {
    Harness h;
    AsanaEntry warrior{"Warrior", 3, "Video", "warrior.mpg", {}, {{"intro", 0}}};
    h.course.writeEverywhere({warrior});
    h.declareVideo("warrior.mpg", 1500);
    h.name("Warrior");

    EXPECT_TRUE(h.control.Preview().isEmpty());
    EXPECT_THAT(h.executed(),
                ElementsAre("close all", h.videoOpenCommand("warrior.mpg"), "play video"));
    EXPECT_EQ(h.control.state().VideoPreview, True);
    EXPECT_EQ(h.control.state().VideoFile, "warrior.mpg");
    EXPECT_TRUE(h.control.Timer1().enabled());
    EXPECT_FALSE(h.control.Timer2().enabled());

    ASSERT_TRUE(h.runUntilVideoEnd(5000));
    EXPECT_GE(h.clock.nowMs(), 1500);
    h.container.advance(1000);
    EXPECT_THAT(h.container.events(), ElementsAre("VideoEnd"));
    EXPECT_FALSE(h.control.Timer1().enabled());
    EXPECT_THAT(h.mediaErrors, IsEmpty());
}

TEST(Preview, NameNotInTheCatalogueFailsWith3021AndShowsNoMessage) {
    Harness h;
    h.course.writeEverywhere({pictureAsana("Lotus", 12, 1, "")});
    h.name("Cobra");
    try {
        h.control.Preview();
        FAIL() << "Preview returned normally";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), catalogue::errors::NoCurrentRecord);
    }
    EXPECT_THAT(h.container.records(), IsEmpty());
    EXPECT_THAT(h.executed(), ElementsAre("close all"));
    EXPECT_FALSE(h.control.Timer1().enabled());
}

TEST(Ppreview, NameNotInTheLibraryCatalogueFailsWith3021AfterSwitchingToSilentMode) {
    Harness h;
    h.course.writeEverywhere({pictureAsana("Lotus", 12, 1, "")});
    h.name("Cobra");
    try {
        h.control.Ppreview();
        FAIL() << "Ppreview returned normally";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), catalogue::errors::NoCurrentRecord);
    }
    EXPECT_EQ(h.control.state().PhotoPreview, True);
    EXPECT_EQ(h.control.Timer2().interval(), 200);
    EXPECT_FALSE(h.control.Timer2().enabled());
    EXPECT_THAT(h.container.records(), IsEmpty());
}

TEST(Ppreview, RunsSilentlyOverANarratedPlaybackWithTheSameTimer) {
    Harness h;
    h.course.writeEverywhere(
        {pictureAsana("Lotus", 12, 2, ""), pictureAsana("Crane", 13, 2, "crane-")});
    declarePictures(h, 2, "");
    declarePictures(h, 2, "crane-");
    h.declareNarration("talk1", 5000);
    h.name("Lotus");
    h.control.fileOpen();
    h.container.advance(50);

    h.control.AsanaNaME("Crane");
    h.commands.clear();
    h.control.Ppreview();
    EXPECT_TRUE(h.control.Timer2().enabled());
    ASSERT_TRUE(h.runUntilVideoEnd(5000));
    EXPECT_THAT(h.commands.all(), ElementsAre("close all"));
    EXPECT_EQ(h.shown(), h.picturePath("crane-" + pictureName(2)));
}

// A name holding a double quote is looked up as it stands in both previews.
TEST(Previews, FindANameHoldingADoubleQuote) {
    const std::string name = "Tree \"Vrksasana\"";
    for (const bool throughPreview : {false, true}) {
        Harness h;
        h.course.writeEverywhere({pictureAsana(name, 21, 2, "")});
        declarePictures(h, 2, "");
        h.name(name);
        if (throughPreview)
            h.control.Preview();
        else
            h.control.Ppreview();
        EXPECT_EQ(h.shown(), h.picturePath(pictureName(1)))
            << "through Preview: " << throughPreview;
        EXPECT_TRUE(h.runUntilVideoEnd(5000)) << "through Preview: " << throughPreview;
    }
}

}  // namespace
}  // namespace tessaro::testing
