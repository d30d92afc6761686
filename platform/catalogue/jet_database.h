// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include <tessaro/catalogue.h>
#include "platform/catalogue/catalogue_file.h"

namespace tessaro::catalogue {

// An open catalogue file answering the engine's two query shapes with snapshots. The
// file is released by close() or with the last holder: the handle itself or one of its
// recordsets.
class JetDatabase : public Database, public std::enable_shared_from_this<JetDatabase> {
  public:
    explicit JetDatabase(std::unique_ptr<CatalogueFile> file);

    std::shared_ptr<Recordset> openRecordset(std::string_view sql) override;
    void close() override;

  private:
    std::unique_ptr<CatalogueFile> file_;
    std::string displayPath_;
    bool open_ = true;
};

}  // namespace tessaro::catalogue
