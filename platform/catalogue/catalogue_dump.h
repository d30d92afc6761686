// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::catalogue {

// Every user table of a catalogue file, in stored order, in the description form the
// writer takes: columns with the nearest description type, rows in stored order
// (booleans as -1 / 0). The file is opened as openDatabase opens it, not exclusively,
// and fails with the same error numbers.
CatalogueDescription dumpCatalogue(std::string_view path, std::string_view password);

// What dumpCatalogue reads, handed out as it is read: each table (name and columns, no
// rows), then each of its rows. Holds one row at a time, so that a reader of a large file
// need not hold its values; damage found part-way throws after what came before it.
struct CatalogueVisitor {
    std::function<void(const TableDescription&)> onTable;
    std::function<void(std::vector<Variant>&&)> onRow;
};
void visitCatalogue(std::string_view path, std::string_view password,
                    const CatalogueVisitor& visitor);

}  // namespace tessaro::catalogue
