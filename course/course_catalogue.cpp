// SPDX-License-Identifier: MIT
#include "course/course_catalogue.h"

#include "platform/values/asana_number.h"

namespace tessaro::course {
namespace {

// A Jet text literal holding the text as it is: each double quote doubled.
std::string quotedLiteral(std::string_view text) {
    std::string literal = "\"";
    for (char c : text) {
        literal += c;
        if (c == '"')
            literal += '"';
    }
    return literal + "\"";
}

}  // namespace

std::shared_ptr<catalogue::Database> openCatalogue(catalogue::Engine& engine,
                                                   std::string_view path) {
    const std::string connect = ";PWD=" + std::string(CataloguePassword) + ";";
    return engine.openDatabase(path, true, true, connect);
}

std::string asanaQuery(std::string_view name) {
    return std::string(AsanasQuery) + " where name = " + quotedLiteral(name);
}

AsanaKind kindOf(const Variant& dispType) {
    return dispType.equalsText("Video") ? AsanaKind::Video : AsanaKind::Pictures;
}

std::string clipsQueryPrefix(AsanaKind kind) {
    return kind == AsanaKind::Video ? "select * from Audio_Asana" : "select * from Photo_Asana";
}

std::string clipsQuery(const std::string& queryPrefix, const Variant& asanaId) {
    return queryPrefix + asanaNumberText(asanaId);
}

}  // namespace tessaro::course
