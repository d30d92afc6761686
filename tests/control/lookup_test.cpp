// SPDX-License-Identifier: MIT
#include "control/kavo_video_sync_fields.h"
#include "platform/catalogue/writer/catalogue_writer.h"
#include "tests/control/control_fixture.h"

namespace tessaro::testing {
namespace {

using Strings = std::vector<std::string>;

class Lookup : public ControlTest {};

TEST_F(Lookup, UnknownNameIsToldAndNothingStarts) {
    write({threeClipAsana("Tree")});
    control.TotalRec(5);
    control.Picture1().setPicture(host::Picture("old.jpg", nullptr));
    open("Nope");

    EXPECT_EQ(container.texts(sim::HostRecord::Kind::MessageBox),
              Strings{"Asana not found - Nope"});
    EXPECT_TRUE(container.events().empty());
    EXPECT_EQ(executed(), Strings{"close all"});
    EXPECT_EQ(control.TotalRec(), 5);
    EXPECT_EQ(state().AudioNo, 1);
    EXPECT_EQ(state().LastClip, False);
    EXPECT_EQ(state().VideoPreview, False);
    EXPECT_TRUE(control.Picture1().picture().isEmpty());
    EXPECT_EQ(control.Picture2().top(), 287);
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_NO_THROW(state().db->openRecordset("select * from Asanas")) << "catalogue left open";
}

TEST_F(Lookup, FoundVideoAsanaPublishesItsClipCountBeforeItsEvent) {
    write({threeClipAsana("Tree", 7)});
    open("Tree");
    Strings log;
    for (const sim::HostRecord& r : container.records())
        log.push_back(describe(r));
    EXPECT_EQ(log, (Strings{"property TotalRec", "event CurAudioNos"}));
    EXPECT_EQ(control.TotalRec(), 3);
    EXPECT_EQ(state().AudioNo, 3);
    EXPECT_EQ(state().VideoFile, "Tree.mpg");
    EXPECT_EQ(executed(), lookupAndStart("Tree.mpg", "t1"));
}

struct BranchCase {
    const char* what;
    Variant dispType;
    bool video;
};

void PrintTo(const BranchCase& c, std::ostream* os) {
    *os << c.what;
}

class LookupBranch : public ControlTest, public ::testing::WithParamInterface<BranchCase> {};

// The picture branch ends in InitAudio; what is checked here is only the lookup's part.
TEST_P(LookupBranch, OnlyTheExactTextVideoChoosesTheVideoBranch) {
    const BranchCase& c = GetParam();
    Asana a = threeClipAsana("Mixed", 12);
    a.dispType = c.dispType;
    if (!c.video)
        a.pictures = {{"p1", "p1.jpg"}, {"p2", "p2.jpg"}};
    write({a});
    open("Mixed");
    EXPECT_EQ(count("CurAudioNos"), 1);
    EXPECT_EQ(control.TotalRec(), c.video ? 3 : 2);
    const Strings sent = executed();
    const bool videoOpened = sent.size() > 1 && sent[1] == videoOpen("Mixed.mpg");
    EXPECT_EQ(videoOpened, c.video);
    if (!c.video) {
        EXPECT_EQ(state().PhotoPreview, False);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LookupBranch,
    ::testing::Values(BranchCase{"Video", "Video", true}, BranchCase{"video", "video", false},
                      BranchCase{"VIDEO", "VIDEO", false}, BranchCase{"Photo", "Photo", false},
                      BranchCase{"empty", "", false}, BranchCase{"null", Variant::null(), false}));

// A Disp_Type that cannot be read leaves the branch test unevaluated, which counts as a
// match: the asana plays as a video.
TEST_F(Lookup, UnreadableDisplayTypeChoosesTheVideoBranch) {
    write({threeClipAsana("Tree", 7)});
    catalogue::CatalogueDescription withoutDispType{
        {{"Asanas",
          {{"name", catalogue::ColumnType::Text, 100},
           {"AsanaID", catalogue::ColumnType::Long},
           {"VideoName", catalogue::ColumnType::Text}},
          {{"Tree", 7, "Tree.mpg"}}},
         {"Audio_Asana7",
          {{"Filename", catalogue::ColumnType::Text},
           {"Action", catalogue::ColumnType::Text},
           {"StartPos", catalogue::ColumnType::Double},
           {"EndPos", catalogue::ColumnType::Double},
           {"Filelen", catalogue::ColumnType::Double}},
          {{"t1", "say", 0, 0, 1.5}, {"t2", "say", 25, 0, 1.5}}}}};
    catalogue::writeCatalogue(withoutDispType, course.root() + "/hotspots/VUDuzu.mdb",
                              CataloguePassword);
    open("Tree");
    EXPECT_TRUE(container.texts(sim::HostRecord::Kind::MessageBox).empty());
    EXPECT_EQ(control.TotalRec(), 2);
    EXPECT_EQ(container.events(), Strings{"CurAudioNos"});
    EXPECT_EQ(executed(), lookupAndStart("Tree.mpg", "t1"));
    EXPECT_EQ(state().LastError, 3265) << "the failed read is the last recorded error";
}

TEST_F(Lookup, FirstOfSeveralRowsWithTheNameIsUsed) {
    Asana first = threeClipAsana("Twin", 1);
    Asana second = threeClipAsana("Twin", 2);
    second.video = "second.mpg";
    write({first, second});
    open("Twin");
    EXPECT_EQ(state().VideoFile, "Twin.mpg");
}

TEST_F(Lookup, EmptyClipTableStillRaisesTheEventAndOpensTheVideoOnly) {
    write({videoAsana("Bare", 4, "bare.mpg", {})});
    open("Bare");
    EXPECT_TRUE(container.texts(sim::HostRecord::Kind::MessageBox).empty());
    EXPECT_EQ(control.TotalRec(), 0);
    EXPECT_EQ(state().AudioNo, 0);
    EXPECT_EQ(container.events(), Strings{"CurAudioNos"});
    EXPECT_EQ(executed(),
              (Strings{"close all", videoOpen("bare.mpg"), "set video time format frames"}));
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_EQ(state().VideoStatus, "");
}

// The row count does not fit TotalRec: the setter is never reached, and AudioNo takes the
// value TotalRec keeps.
TEST_F(Lookup, ClipTableTooLongForTotalRecKeepsItsOldValue) {
    std::vector<ClipRow> clips(32768, ClipRow{"c", 0});
    clips[1].startPos = 25;
    write({videoAsana("Huge", 4, "huge.mpg", clips)});
    control.TotalRec(5);
    open("Huge");
    EXPECT_EQ(control.TotalRec(), 5);
    EXPECT_EQ(state().AudioNo, 5);
    EXPECT_EQ(describe(container.records().front()), "event CurAudioNos");
    EXPECT_EQ(container.records().size(), 1u);
    EXPECT_EQ(executed(), lookupAndStart("huge.mpg", "c"));
}

TEST_F(Lookup, NullInTheFirstClipRowStopsTheStartBeforeTheNarration) {
    write({videoAsana("Hole", 4, "hole.mpg", {{"h1", Variant::null()}, {"h2", 10}})});
    open("Hole");
    EXPECT_EQ(executed(),
              (Strings{"close all", videoOpen("hole.mpg"), "set video time format frames"}));
    EXPECT_EQ(state().ClipFile, "h1") << "columns before the failing one are stored";
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_EQ(state().VideoMode, False);
}

TEST_F(Lookup, SecondLookupWithoutStopReplacesTheFirst) {
    Asana other = threeClipAsana("Other", 8);
    write({threeClipAsana("Tree", 3), other});
    open("Tree");
    container.advance(100);
    open("Other");
    EXPECT_EQ(executed(), lookupAndStart("Other.mpg", "t1"));
    ASSERT_TRUE(runUntilVideoEnd());
    EXPECT_EQ(count("CurAudioNos"), 3);
}

TEST_F(Lookup, MissingVideoFileIsReportedByTheServiceAndTheNarrationStillRuns) {
    Asana a = threeClipAsana("Lost", 3);
    a.videoExists = false;
    write({a});
    open("Lost");
    EXPECT_FALSE(errorBoxes.empty());
    EXPECT_EQ(state().SoundStatus, "Playing");
    EXPECT_EQ(state().VideoStatus, "Playing");
    EXPECT_TRUE(control.Timer1().enabled());
}

}  // namespace
}  // namespace tessaro::testing
