// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <tessaro/catalogue.h>
#include "platform/catalogue/reader/jet_reader.h"

namespace tessaro::catalogue {

// A recordset over the rows a query found when it was opened. It keeps where each row lies
// and reads the current row's values when they are asked for, so that a large result
// takes a few bytes a row. databaseOpen points into the database that made it: holding
// it keeps that database alive, as a recordset holds its database, and tells whether the
// database has been closed.
class SnapshotRecordset : public Recordset {
  public:
    SnapshotRecordset(std::shared_ptr<const bool> databaseOpen, std::shared_ptr<JetReader> reader,
                      std::string table, std::vector<std::string> columns,
                      std::vector<RowPlace> rows);

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
    std::shared_ptr<JetReader> reader_;
    std::vector<RowPlace> rows_;
    std::size_t current_ = 0;
    // The values of row currentRead_, read for the last field asked.
    mutable std::vector<Variant> currentValues_;
    mutable std::size_t currentRead_ = SIZE_MAX;
    bool closed_ = false;
};

}  // namespace tessaro::catalogue
