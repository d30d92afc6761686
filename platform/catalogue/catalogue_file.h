// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/catalogue/file_lock.h"
#include "platform/catalogue/reader/jet_reader.h"

namespace tessaro::catalogue {

// One handle's open catalogue file: its hold on the file's lock and the reader that
// every handle of this process on the same file shares.
class CatalogueFile {
  public:
    // Opens the Windows-style path (through paths::resolve) after checking, in this order:
    // the file exists (3024), no other process's lock conflicts (3045), it is a Jet 3 or
    // Jet 4 database (3343), password matches the stored database password letter case
    // counting, unless none is stored (3031).
    CatalogueFile(std::string_view path, bool exclusive, std::string_view password);

    // The path as the caller gave it, for error texts.
    const std::string& displayPath() const { return displayPath_; }
    JetReader& reader() const { return *reader_; }
    // The reader, for a recordset that may outlive this handle.
    std::shared_ptr<JetReader> readerShare() const { return reader_; }

  private:
    std::string displayPath_;
    std::string resolvedPath_;
    FileHold hold_;
    std::shared_ptr<JetReader> reader_;
};

}  // namespace tessaro::catalogue
