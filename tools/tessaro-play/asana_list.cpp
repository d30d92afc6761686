// SPDX-License-Identifier: MIT
#include "tools/tessaro-play/asana_list.h"
#include "platform/values/asana_number.h"

namespace tessaro::play {
namespace {

std::int64_t countRows(catalogue::Database& db, const std::string& table) {
    try {
        auto rows = db.openRecordset("select * from " + table);
        rows->moveLast();
        return rows->recordCount();
    } catch (const Error&) {
        return 0;  // no such table, or no rows
    }
}

}  // namespace

std::vector<AsanaEntry> listAsanas(catalogue::Engine& engine, const std::string& resourceDir) {
    auto db = engine.openDatabase(resourceDir + "\\hotspots\\VUDuzu.mdb", true, true,
                                  ";PWD=Lark7meadOW;");
    auto asanas = db->openRecordset("select * from Asanas");
    std::vector<AsanaEntry> entries;
    for (; !asanas->eof(); asanas->moveNext()) {
        AsanaEntry entry;
        entry.name = asanas->field("name").toText();
        const bool video = asanas->field("Disp_Type").equalsText("Video");
        entry.kind = video ? "video" : "pictures";
        const std::string number = asanaNumberText(asanas->field("AsanaID"));
        entry.clips = countRows(*db, (video ? "Audio_Asana" : "Photo_Asana") + number);
        entries.push_back(std::move(entry));
    }
    db->close();
    return entries;
}

}  // namespace tessaro::play
