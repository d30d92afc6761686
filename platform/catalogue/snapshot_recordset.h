#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/catalogue/catalogue.h"

namespace tessaro::catalogue {

// A recordset over rows read in full when it was opened. databaseOpen points into the
// database that made it: holding it keeps that database (and its file) alive, as a
// recordset holds its database, and tells whether the database has been closed.
class SnapshotRecordset : public Recordset {
  public:
    SnapshotRecordset(std::shared_ptr<const bool> databaseOpen, std::string table,
                      std::vector<std::string> columns, std::vector<std::vector<Variant>> rows);

    void moveFirst() override;
    void moveLast() override;
    void moveNext() override;
    bool eof() const override;
    std::int64_t recordCount() const override;
    Variant field(std::string_view name) const override;
    std::vector<std::string> fieldNames() const override;
    void close() override;

  private:
    void checkOpen() const;
    void checkNotEmpty() const;

    std::shared_ptr<const bool> databaseOpen_;
    std::string table_;
    std::vector<std::string> columns_;
    std::vector<std::string> foldedColumns_;
    std::vector<std::vector<Variant>> rows_;
    std::size_t current_ = 0;
    bool closed_ = false;
};

}  // namespace tessaro::catalogue
