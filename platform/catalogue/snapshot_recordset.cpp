// SPDX-License-Identifier: MIT
#include "platform/catalogue/snapshot_recordset.h"

#include <algorithm>

#include "platform/paths/paths.h"

namespace tessaro::catalogue {

SnapshotRecordset::SnapshotRecordset(std::shared_ptr<const bool> databaseOpen,
                                     std::shared_ptr<JetReader> reader, std::string table,
                                     std::vector<std::string> columns, std::vector<RowPlace> rows)
    : databaseOpen_(std::move(databaseOpen)),
      table_(std::move(table)),
      columns_(std::move(columns)),
      reader_(std::move(reader)),
      rows_(std::move(rows)) {
    for (const std::string& column : columns_)
        foldedColumns_.push_back(paths::foldCase(column));
}

void SnapshotRecordset::checkOpen() const {
    if (closed_ || !*databaseOpen_)
        throw Error(errors::ObjectClosed, "the recordset on table '" + table_ + "' is closed");
}

void SnapshotRecordset::checkNotEmpty() const {
    if (rows_.empty())
        throw Error(errors::NoCurrentRecord, "table '" + table_ + "' gave no rows");
}

void SnapshotRecordset::moveFirst() {
    checkOpen();
    checkNotEmpty();
    current_ = 0;
}

void SnapshotRecordset::moveLast() {
    checkOpen();
    checkNotEmpty();
    current_ = rows_.size() - 1;
}

void SnapshotRecordset::moveNext() {
    checkOpen();
    if (current_ >= rows_.size())
        throw Error(errors::NoCurrentRecord, "no row after the last one of table '" + table_ + "'");
    ++current_;
}

bool SnapshotRecordset::eof() const {
    checkOpen();
    return current_ >= rows_.size();
}

std::int64_t SnapshotRecordset::recordCount() const {
    checkOpen();
    return static_cast<std::int64_t>(rows_.size());
}

Variant SnapshotRecordset::field(std::string_view name) const {
    checkOpen();
    const auto found =
        std::find(foldedColumns_.begin(), foldedColumns_.end(), paths::foldCase(name));
    if (found == foldedColumns_.end())
        throw Error(errors::ItemNotInCollection,
                    "no column '" + std::string(name) + "' in table '" + table_ + "'");
    if (current_ >= rows_.size())
        throw Error(errors::NoCurrentRecord, "no current row in table '" + table_ + "' to read '" +
                                                 std::string(name) + "' from");
    if (currentRead_ != current_) {
        currentValues_ = reader_->rowAt(table_, rows_[current_]);
        currentRead_ = current_;
    }
    return currentValues_[static_cast<std::size_t>(found - foldedColumns_.begin())];
}

std::vector<std::string> SnapshotRecordset::fieldNames() const {
    checkOpen();
    return columns_;
}

void SnapshotRecordset::close() {
    checkOpen();
    closed_ = true;
}

}  // namespace tessaro::catalogue
