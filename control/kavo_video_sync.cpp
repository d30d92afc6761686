// SPDX-License-Identifier: MIT
#include <tessaro/kavo_video_sync.h>

#include "control/kavo_video_sync_fields.h"

namespace tessaro {

namespace {

inline constexpr int ObjectVariableNotSet = 91;
inline constexpr const char* DefaultText = "0";
inline constexpr int DefaultTotalRec = 0;

// Runs one tick of a timer unless a tick of the same timer is already running (a message
// box or event handler inside the tick may pump the message loop). A tick lets no
// exception reach the host's event loop: its steps catch tessaro::Error themselves, and
// anything else thrown by a host handler ends the tick.
void runTick(bool& inTick, void (KavoVideoSync::*tick)(), KavoVideoSync& control) {
    if (inTick)
        return;
    inTick = true;
    try {
        (control.*tick)();
    } catch (...) {
    }
    inTick = false;
}

}  // namespace

KavoVideoSync::KavoVideoSync(ControlServices services)
    : services_(services),
      fields_(std::make_unique<KavoVideoSyncFields>()),
      f_(*fields_),
      Picture2_(&services.container.createPictureBox("Picture2", 0, 4305, 5280, 15)),
      Timer2_(&services.container.createTimer("Timer2", false, 10)),
      Picture1_(&services.container.createPictureBox("Picture1", 0, 0, 5280, 4320)),
      Timer1_(&services.container.createTimer("Timer1", false, 1)) {
    Timer1_->onTick([this] { runTick(inTimer1Tick_, &KavoVideoSync::videoTick, *this); });
    Timer2_->onTick([this] { runTick(inTimer2Tick_, &KavoVideoSync::pictureTick, *this); });
}

KavoVideoSync::~KavoVideoSync() {
    Timer1_->onTick({});
    Timer2_->onTick({});
}

std::string KavoVideoSync::Resourcedir() const {
    return f_.Resourcedir;
}

void KavoVideoSync::Resourcedir(const std::string& value) {
    f_.Resourcedir = value;
    container().propertyChanged("Resourcedir");
}

std::string KavoVideoSync::AsanaNaME() const {
    return f_.AsanaNaME;
}

void KavoVideoSync::AsanaNaME(const std::string& value) {
    f_.AsanaNaME = value;
    container().propertyChanged("AsanaNaME");
}

std::int16_t KavoVideoSync::TotalRec() const {
    return f_.TotalRec;
}

void KavoVideoSync::TotalRec(std::int16_t value) {
    f_.TotalRec = value;
    container().propertyChanged("TotalRec");
}

void KavoVideoSync::InitProperties() {
    f_.Resourcedir = DefaultText;
    f_.AsanaNaME = DefaultText;
    f_.TotalRec = DefaultTotalRec;
}

void KavoVideoSync::ReadProperties(host::PropertyBag& bag) {
    f_.Resourcedir = bag.read("Resourcedir", DefaultText).toText();
    f_.AsanaNaME = bag.read("AsanaNaME", DefaultText).toText();
    f_.TotalRec = bag.read("TotalRec", DefaultTotalRec).toInt16();
}

void KavoVideoSync::WriteProperties(host::PropertyBag& bag) {
    bag.write("Resourcedir", f_.Resourcedir, DefaultText);
    bag.write("AsanaNaME", f_.AsanaNaME, DefaultText);
    bag.write("TotalRec", int{f_.TotalRec}, DefaultTotalRec);
}

catalogue::Database& KavoVideoSync::database() const {
    if (!f_.db)
        throw Error(ObjectVariableNotSet, "no catalogue has been opened");
    return *f_.db;
}

catalogue::Recordset& KavoVideoSync::recordset() const {
    if (!f_.rs)
        throw Error(ObjectVariableNotSet, "no catalogue query has been opened");
    return *f_.rs;
}

}  // namespace tessaro
