// SPDX-License-Identifier: MIT
#include <filesystem>
#include <fstream>
#include <functional>

#include "control/kavo_video_sync_fields.h"
#include "tests/control/control_fixture.h"

namespace tessaro::testing {
namespace {

using Strings = std::vector<std::string>;

class MendedFault : public ControlTest {
  protected:
    Strings messages() const { return container.texts(sim::HostRecord::Kind::MessageBox); }
};

// A catalogue that cannot be opened or queried must not replay what the fields held.
TEST_F(MendedFault, UnopenableCatalogueCountsAsAsanaNotFound) {
    write({threeClipAsana("Tree")});
    open("Tree");
    ASSERT_TRUE(runUntilVideoEnd());

    control.Resourcedir(course.root() + "\\nowhere");
    container.clearRecords();
    commands.clear();
    control.fileOpen();
    EXPECT_EQ(messages(), Strings{"Asana not found - Tree"});
    EXPECT_TRUE(container.events().empty());
    EXPECT_EQ(executed(), Strings{"close all"});
    container.advance(500);
    EXPECT_EQ(executed(), Strings{"close all"});
}

TEST_F(MendedFault, WrongPasswordCountsAsAsanaNotFound) {
    write({threeClipAsana("Tree")}, "other");
    open("Tree");
    EXPECT_EQ(messages(), Strings{"Asana not found - Tree"});
    EXPECT_TRUE(container.events().empty());
    EXPECT_EQ(executed(), Strings{"close all"});
}

// A damaged catalogue (error 3343) is one that cannot be queried: the files that once made
// the reader abort its host, and an Asanas row that lies outside its page.
TEST_F(MendedFault, DamagedCatalogueCountsAsAsanaNotFound) {
    const std::filesystem::path catalogue = course.root() + "/hotspots/VUDuzu.mdb";
    const std::filesystem::path inputs = std::filesystem::path(std::getenv("TESSARO_SOURCE_DIR")) /
                                         "fuzz/regressions/catalogue_read_fuzzer";
    std::vector<std::function<void()>> damages;
    for (const auto& input : std::filesystem::directory_iterator(inputs)) {
        damages.push_back([=] {
            std::filesystem::copy_file(input.path(), catalogue,
                                       std::filesystem::copy_options::overwrite_existing);
        });
    }
    damages.push_back([&] {
        std::fstream file(catalogue, std::ios::in | std::ios::out | std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(file), {}};
        // The first row of the page that holds Tree's row, moved past the page's end.
        constexpr std::size_t PageSize = 2048;
        file.seekp(static_cast<std::streamoff>(bytes.find("Tree.mpg") / PageSize * PageSize + 10));
        file.write("\xff\x1f", 2);
    });
    for (const auto& damage : damages) {
        write({threeClipAsana("Tree")});
        damage();
        open("Tree");
        EXPECT_EQ(messages(), Strings{"Asana not found - Tree"});
        EXPECT_TRUE(container.events().empty());
        EXPECT_EQ(executed(), Strings{"close all"});
    }
}

TEST_F(MendedFault, MissingClipTableEndsTheLookupWithoutEventOrPlayback) {
    Asana a = threeClipAsana("Tree");
    a.hasTable = false;
    write({a});
    control.TotalRec(4);
    open("Tree");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(container.events().empty());
    EXPECT_EQ(executed(), Strings{"close all"});
    EXPECT_EQ(control.TotalRec(), 4);
    EXPECT_FALSE(control.Timer1().enabled());
}

struct QuotedName {
    const char* name;
    bool found;
};

void PrintTo(const QuotedName& c, std::ostream* os) {
    *os << c.name;
}

class MendedQuotes : public MendedFault, public ::testing::WithParamInterface<QuotedName> {};

// A double quote in the name is part of the name: it neither breaks nor extends the query.
TEST_P(MendedQuotes, NameIsLookedUpLiterally) {
    write({threeClipAsana("Say \"Om\"", 1), threeClipAsana("Tree", 2)});
    open(GetParam().name);
    if (GetParam().found) {
        EXPECT_TRUE(messages().empty());
        EXPECT_EQ(count("CurAudioNos"), 1);
    } else {
        EXPECT_EQ(messages(), Strings{std::string("Asana not found - ") + GetParam().name});
        EXPECT_TRUE(container.events().empty());
        EXPECT_EQ(executed(), Strings{"close all"});
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, MendedQuotes,
                         ::testing::Values(QuotedName{"Say \"Om\"", true},
                                           QuotedName{"X\" or name = \"Tree", false},
                                           QuotedName{"Tree\"", false}, QuotedName{"\"", false}));

TEST_F(MendedFault, SingleClipVideoEndsOnceWhenItsNarrationStops) {
    write({videoAsana("One", 1, "one.mpg", {{"o1", 20, 400}}, 5000)});
    open("One");
    EXPECT_EQ(state().ClipStart, -10);
    EXPECT_EQ(state().LastClip, True);
    EXPECT_EQ(state().VideoStatus, "Pause");
    ASSERT_TRUE(runUntilVideoEnd(2000));
    EXPECT_GE(clock.nowMs(), 400);
    EXPECT_LE(clock.nowMs(), 402);
    container.advance(3000);
    EXPECT_EQ(container.events(), (Strings{"CurAudioNos", "VideoEnd"}));
    Strings expected = lookupAndStart("one.mpg", "o1");
    expected.push_back("close sound");
    EXPECT_EQ(executed(), expected) << "the clip is never replayed";
    EXPECT_FALSE(control.Timer1().enabled());
}

TEST_F(MendedFault, StopPlayInsideCurAudioNosEndsTheTick) {
    write({threeClipAsana("Tree")});
    open("Tree");
    container.onEvent("CurAudioNos", [this] { control.StopPlay(); });
    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 2000));

    const Strings sent = executed();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), "close all") << "nothing after the host's stop";
    EXPECT_FALSE(control.Timer1().enabled());
    commands.clear();
    container.advance(3000);
    EXPECT_TRUE(commands.entries().empty());
    EXPECT_EQ(count("VideoEnd"), 0);
}

struct AfterEnd {
    const char* what;
    bool stopped;  // ended by StopPlay, else by the loop's VideoEnd
    bool callStart;
};

void PrintTo(const AfterEnd& c, std::ostream* os) {
    *os << c.what;
}

class MendedTransport : public MendedFault, public ::testing::WithParamInterface<AfterEnd> {};

TEST_P(MendedTransport, EndedPlaybackIsNeitherPausedNorResumed) {
    write({threeClipAsana("Tree")});
    open("Tree");
    if (GetParam().stopped) {
        container.advance(100);
        control.StopPlay();
    } else {
        ASSERT_TRUE(runUntilVideoEnd());
    }
    control.Timer2().setEnabled(true);
    commands.clear();
    const Variant result = GetParam().callStart ? control.Start() : control.Pause();
    EXPECT_TRUE(result.isEmpty());
    EXPECT_TRUE(commands.entries().empty());
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_EQ(control.Timer2().enabled(), GetParam().callStart) << "Pause still stops both";
    EXPECT_TRUE(errorBoxes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, MendedTransport,
                         ::testing::Values(AfterEnd{"Start after StopPlay", true, true},
                                           AfterEnd{"Pause after StopPlay", true, false},
                                           AfterEnd{"Start after VideoEnd", false, true},
                                           AfterEnd{"Pause after VideoEnd", false, false}));

// The service's error box lets window messages run; Timer1 is enabled again by then.
TEST_F(MendedFault, ErrorBoxInsideATickRunsNoNestedTick) {
    Asana a = threeClipAsana("Tree");
    a.clips[1].exists = false;
    write({a});
    int boxes = 0;
    std::size_t commandsDuringBoxes = 0;
    interpreter.setErrorReporter([&](const std::string&) {
        ++boxes;
        const std::size_t before = commands.entries().size();
        container.advance(5);
        commandsDuringBoxes += commands.entries().size() - before;
    });
    open("Tree");
    ASSERT_TRUE(container.runUntil([this] { return count("CurAudioNos") == 2; }, 2000));
    container.advance(1);
    EXPECT_EQ(boxes, 2) << "the open and the play of the missing clip";
    EXPECT_TRUE(control.Timer1().enabled());
    EXPECT_EQ(commandsDuringBoxes, 0u);
}

}  // namespace
}  // namespace tessaro::testing
