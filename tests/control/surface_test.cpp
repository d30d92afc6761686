// SPDX-License-Identifier: MIT
#include <map>
#include <memory>

#include "tests/control/control_fixture.h"

namespace tessaro::testing {
namespace {

using Strings = std::vector<std::string>;

// A saved window: what is stored, and every write call in order.
class MapBag : public host::PropertyBag {
  public:
    Variant read(std::string_view key, const Variant& defaultValue) override {
        reads.push_back(std::string(key) + "/" + describe(defaultValue));
        const auto found = stored.find(std::string(key));
        return found == stored.end() ? defaultValue : found->second;
    }
    void write(std::string_view key, const Variant& value, const Variant& defaultValue) override {
        writes.push_back(std::string(key) + "=" + describe(value) + "/" + describe(defaultValue));
        if (value == defaultValue)
            stored.erase(std::string(key));
        else
            stored[std::string(key)] = value;
    }

    std::map<std::string, Variant> stored;
    Strings reads;
    Strings writes;
};

class Surface : public ControlTest {};

TEST_F(Surface, ChildControlsAreCreatedInOrderWithTheirSettings) {
    EXPECT_EQ(container.childNames(), (Strings{"Picture2", "Timer2", "Picture1", "Timer1"}));
    const sim::SimPictureBox& strip = container.pictureBox("Picture2");
    const sim::SimPictureBox& video = container.pictureBox("Picture1");
    EXPECT_EQ((std::vector<int>{strip.left(), strip.top(), strip.width(), strip.height()}),
              (std::vector<int>{0, 4305, 5280, 15}));
    EXPECT_EQ((std::vector<int>{video.left(), video.top(), video.width(), video.height()}),
              (std::vector<int>{0, 0, 5280, 4320}));
    EXPECT_EQ(&control.Picture1(), &video);
    EXPECT_FALSE(control.Timer2().enabled());
    EXPECT_EQ(control.Timer2().interval(), 10);
    EXPECT_FALSE(control.Timer1().enabled());
    EXPECT_EQ(control.Timer1().interval(), 1);
}

TEST_F(Surface, FreshControlHasTheDefaultsAndSavesNone) {
    EXPECT_EQ(control.Resourcedir(), "0");
    EXPECT_EQ(control.AsanaNaME(), "0");
    EXPECT_EQ(control.TotalRec(), 0);
    EXPECT_TRUE(container.records().empty()) << "init properties notifies nothing";
    MapBag bag;
    control.WriteProperties(bag);
    EXPECT_TRUE(bag.stored.empty());
    EXPECT_EQ(bag.writes,
              (Strings{"Resourcedir=\"0\"/\"0\"", "AsanaNaME=\"0\"/\"0\"", "TotalRec=0/0"}));
}

TEST_F(Surface, EveryLetNotifiesEvenWithAnUnchangedValueAndDoesNothingElse) {
    control.AsanaNaME("Tree");
    control.AsanaNaME("Tree");
    control.Resourcedir("C:\\M");
    control.TotalRec(-4);
    Strings log;
    for (const sim::HostRecord& r : container.records())
        log.push_back(describe(r));
    EXPECT_EQ(log, (Strings{"property AsanaNaME", "property AsanaNaME", "property Resourcedir",
                            "property TotalRec"}));
    EXPECT_EQ(control.AsanaNaME(), "Tree");
    EXPECT_EQ(control.Resourcedir(), "C:\\M");
    EXPECT_EQ(control.TotalRec(), -4);
    EXPECT_TRUE(commands.entries().empty());
}

struct ReadCase {
    const char* what;
    std::map<std::string, Variant> stored;
    std::string resourcedir;
    std::string asanaName;
    int totalRec;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.what;
}

class SurfaceRead : public ControlTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(SurfaceRead, MissingKeysTakeTheirDefaults) {
    const ReadCase& c = GetParam();
    MapBag bag;
    bag.stored = c.stored;
    control.ReadProperties(bag);
    EXPECT_EQ(control.Resourcedir(), c.resourcedir);
    EXPECT_EQ(control.AsanaNaME(), c.asanaName);
    EXPECT_EQ(control.TotalRec(), c.totalRec);
    EXPECT_TRUE(container.records().empty());
    EXPECT_EQ(bag.reads, (Strings{"Resourcedir/\"0\"", "AsanaNaME/\"0\"", "TotalRec/0"}));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SurfaceRead,
    ::testing::Values(
        ReadCase{"nothing saved", {}, "0", "0", 0},
        ReadCase{
            "no TotalRec", {{"Resourcedir", "C:\\M"}, {"AsanaNaME", "Tree"}}, "C:\\M", "Tree", 0},
        ReadCase{"all saved",
                 {{"Resourcedir", "D:"}, {"AsanaNaME", "Cat"}, {"TotalRec", 12}},
                 "D:",
                 "Cat",
                 12}));

TEST_F(Surface, SavedValuesRoundTripAndOnlyThoseOffTheirDefaultsAreStored) {
    control.Resourcedir("C:\\M");
    control.TotalRec(9);
    MapBag bag;
    control.WriteProperties(bag);
    EXPECT_EQ(bag.stored,
              (std::map<std::string, Variant>{{"Resourcedir", "C:\\M"}, {"TotalRec", 9}}));
    EXPECT_EQ(bag.writes.front(), "Resourcedir=\"C:\\M\"/\"0\"");

    sim::VirtualClock otherClock;
    sim::SimContainer otherContainer{otherClock};
    KavoVideoSync loaded{{catalogue::processEngine(), commands, otherContainer, moduleFolder}};
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Resourcedir(), "C:\\M");
    EXPECT_EQ(loaded.AsanaNaME(), "0");
    EXPECT_EQ(loaded.TotalRec(), 9);
}

// The host's window owns the child timers and outlives a control it destroys; a timer
// left enabled by the control must not tick into it afterwards.
TEST_F(Surface, DestroyedControlIsTickedNoMore) {
    write({threeClipAsana("Tree")});
    auto placed = std::make_unique<KavoVideoSync>(
        ControlServices{catalogue::processEngine(), commands, container, moduleFolder});
    placed->InitProperties();
    placed->Resourcedir(course.root());
    placed->AsanaNaME("Tree");
    placed->fileOpen();
    const host::Timer& timer1 = placed->Timer1();
    ASSERT_TRUE(timer1.enabled());
    placed.reset();
    commands.clear();
    container.advance(100);
    EXPECT_TRUE(commands.entries().empty());
    EXPECT_TRUE(timer1.enabled()) << "destruction releases nothing";
}

}  // namespace
}  // namespace tessaro::testing
