#pragma once

#include <string_view>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::catalogue {

// Every user table of a catalogue file, in stored order, in the description form the
// writer takes: columns with the nearest description type, rows in stored order
// (booleans as -1 / 0). The file is opened as openDatabase opens it, not exclusively,
// and fails with the same error numbers.
CatalogueDescription dumpCatalogue(std::string_view path, std::string_view password);

}  // namespace tessaro::catalogue
