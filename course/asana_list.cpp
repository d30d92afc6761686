// SPDX-License-Identifier: MIT
#include "course/asana_list.h"

#include "course/course_catalogue.h"
#include "course/course_folder.h"

namespace tessaro::course {
namespace {

std::int64_t countRows(catalogue::Database& db, const std::string& query) {
    try {
        auto rows = db.openRecordset(query);
        rows->moveLast();
        return rows->recordCount();
    } catch (const Error&) {
        return 0;  // no such table, or no rows
    }
}

}  // namespace

std::vector<AsanaEntry> listAsanas(catalogue::Engine& engine, const std::string& folder) {
    auto db = openCatalogue(engine, cataloguePath(folder));
    auto asanas = db->openRecordset(AsanasQuery);
    std::vector<AsanaEntry> entries;
    for (; !asanas->eof(); asanas->moveNext()) {
        AsanaEntry entry;
        entry.name = asanas->field("name").toText();
        const AsanaKind kind = kindOf(asanas->field("Disp_Type"));
        entry.kind = kind == AsanaKind::Video ? "video" : "pictures";
        entry.clips = countRows(*db, clipsQuery(clipsQueryPrefix(kind), asanas->field("AsanaID")));
        entries.push_back(std::move(entry));
    }
    db->close();
    return entries;
}

}  // namespace tessaro::course
