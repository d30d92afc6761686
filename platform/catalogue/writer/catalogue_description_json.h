// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::catalogue {

// The description as JSON:
//   {"tables":[{"name":"Asanas",
//               "columns":[{"name":"name","type":"text","size":50},
//                          {"name":"AsanaID","type":"long"}],
//               "rows":[["Tadasana",1],[null,2]]}]}
// Column types: "text" (with "size" 1..255, 50 when left out), "memo", "integer",
// "long", "double", "boolean". Rows are arrays in column order; null is a null value,
// true and false are 1 and 0. Throws tessaro::Error (3001) whose text names the table,
// row and column at fault; values are checked against their columns by writeCatalogue.
CatalogueDescription catalogueDescriptionFromJson(const nlohmann::json& json);

// The column type a description names ("text", "memo", ...).
std::optional<ColumnType> columnTypeFromName(std::string_view name);

}  // namespace tessaro::catalogue
