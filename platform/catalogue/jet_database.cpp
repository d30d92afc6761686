// SPDX-License-Identifier: MIT
#include "platform/catalogue/jet_database.h"

#include <algorithm>

#include "platform/catalogue/query_parser.h"
#include "platform/catalogue/snapshot_recordset.h"
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

// Jet compares a text literal with a text value case-blind, and with a number as the
// number the literal spells.
bool matchesLiteral(const Variant& value, const std::string& literal, const std::string& folded) {
    switch (value.kind()) {
        case Variant::Kind::Text:
            return paths::foldCase(value.toText()) == folded;
        case Variant::Kind::Integer:
        case Variant::Kind::Double:
            try {
                return Variant(literal).toDouble() == value.toDouble();
            } catch (const Error&) {
                return false;
            }
        default:
            return false;
    }
}

RowFilter filterFor(const Condition& condition, const std::vector<StoredColumn>& columns,
                    const std::string& table) {
    const std::string wanted = paths::foldCase(condition.column);
    const auto found = std::find_if(columns.begin(), columns.end(), [&](const StoredColumn& c) {
        return paths::foldCase(c.name) == wanted;
    });
    if (found == columns.end())
        throw Error(errors::ItemNotInCollection,
                    "no column '" + condition.column + "' in table '" + table + "'");
    return RowFilter{static_cast<std::size_t>(found - columns.begin()),
                     [literal = condition.literal, folded = paths::foldCase(condition.literal)](
                         const Variant& value) { return matchesLiteral(value, literal, folded); }};
}

}  // namespace

JetDatabase::JetDatabase(std::unique_ptr<CatalogueFile> file)
    : file_(std::move(file)), displayPath_(file_->displayPath()) {}

std::shared_ptr<Recordset> JetDatabase::openRecordset(std::string_view sql) {
    if (!open_)
        throw Error(errors::ObjectClosed, "catalogue file '" + displayPath_ + "' is closed");
    const Query query = parseQuery(sql);
    JetReader& reader = *file_->readerShare();
    const std::optional<std::string> table = reader.findUserTable(query.table);
    if (!table)
        throw Error(errors::TableNotFound,
                    "no table '" + query.table + "' in catalogue file '" + displayPath_ + "'");

    const std::vector<StoredColumn> columns = reader.columns(*table);
    std::optional<RowFilter> filter;
    if (query.condition)
        filter = filterFor(*query.condition, columns, *table);
    std::vector<std::string> names;
    for (const StoredColumn& column : columns)
        names.push_back(column.name);
    return std::make_shared<SnapshotRecordset>(
        std::shared_ptr<const bool>(shared_from_this(), &open_), file_->readerShare(), *table,
        std::move(names), reader.rowPlaces(*table, filter));
}

void JetDatabase::close() {
    if (!open_)
        throw Error(errors::ObjectClosed,
                    "catalogue file '" + displayPath_ + "' is already closed");
    open_ = false;
    file_.reset();
}

}  // namespace tessaro::catalogue
