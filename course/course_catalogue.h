// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <tessaro/catalogue.h>
#include <tessaro/variant.h>

namespace tessaro::course {

// The password that protects a course's catalogue.
inline constexpr std::string_view CataloguePassword = "Lark7meadOW";

// Opens the catalogue file at path (Windows-style) as the product always does: exclusive,
// read-only, with the course's password. Throws tessaro::Error with the engine's number.
std::shared_ptr<catalogue::Database> openCatalogue(catalogue::Engine& engine,
                                                   std::string_view path);

// Every asana, in stored order.
inline constexpr std::string_view AsanasQuery = "select * from Asanas";
// The asana of that name (compared case-blind by the engine).
std::string asanaQuery(std::string_view name);

// How an asana plays: its video, with narration clips due at frames, or its pictures,
// each shown while its narration speaks.
enum class AsanaKind { Video, Pictures };

// The kind an asana's Disp_Type gives: Video for the text "Video" (letter case counting),
// Pictures for anything else, null included.
AsanaKind kindOf(const Variant& dispType);

// The query of every row of an asana's clip table, Audio_AsanaN for a video asana or
// Photo_AsanaN for a picture asana, N the AsanaID as asanaNumberText spells it: the
// query without N for the kind, and that query completed for the AsanaID. Completing it
// throws what asanaNumberText throws.
std::string clipsQueryPrefix(AsanaKind kind);
std::string clipsQuery(const std::string& queryPrefix, const Variant& asanaId);

}  // namespace tessaro::course
