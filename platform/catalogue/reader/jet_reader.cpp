// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_reader.h"

#include <map>
#include <mutex>

#include <tessaro/catalogue.h>
#include "platform/catalogue/reader/jet_row_fields.h"
#include "platform/catalogue/reader/jet_rows.h"
#include "platform/catalogue/reader/jet_table.h"
#include "platform/catalogue/reader/jet_values.h"
#include "platform/catalogue/reader/table_claims.h"
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

using jet::SystemObjectsName;
using jet::SystemObjectsPage;
constexpr std::size_t DataPageOwnerOffset = 4;
// A stored value takes at least one bit of its row (a boolean's null-mask bit), so a page
// never holds more values than eight times its bytes; a page that claims more can only
// be damaged, and reading it would grow memory far past the size of the file.
constexpr std::size_t MaxValuesPerPageByte = 8;

ColumnType descriptionType(int type) {
    switch (type) {
        case jet::types::Boolean:
            return ColumnType::Boolean;
        case jet::types::Byte:
        case jet::types::Integer:
            return ColumnType::Integer;
        case jet::types::Long:
        case jet::types::Complex:
            return ColumnType::Long;
        case jet::types::Currency:
        case jet::types::Single:
        case jet::types::Double:
        case jet::types::DateTime:
        case jet::types::Numeric:
            return ColumnType::Double;
        case jet::types::Text:
        case jet::types::ReplicationId:
            return ColumnType::Text;
        default:
            return ColumnType::Memo;
    }
}

// Whether the page is a data page of the table.
bool holdsRowsOf(const ByteView& page, const JetTable& table) {
    return page.u8(0) == jet::DataPageType && page.u32(DataPageOwnerOffset) == table.definitionPage;
}

const JetColumn* columnNamed(const JetTable& table, std::string_view name) {
    for (const JetColumn& column : table.columns) {
        if (column.name == name)
            return &column;
    }
    return nullptr;
}

}  // namespace

struct JetReader::Impl {
    struct CatalogueEntry {
        std::string name;
        std::uint32_t definitionPage = 0;
    };

    std::string displayPath;
    std::unique_ptr<JetPages> pages;
    std::vector<CatalogueEntry> userTables;
    std::map<std::string, const CatalogueEntry*> byFoldedName;
    std::map<std::string, JetTable> tables;
    LongValueClaims claims;
    std::mutex mutex;

    Error damaged(const std::string& what) const {
        return Error(errors::UnrecognizedDatabaseFormat,
                     "catalogue file '" + displayPath + "' is damaged: " + what);
    }

    // Calls onRow(page, row number, fields) for each row of the table's data pages, in
    // stored order, deleted rows left out. A page the usage map names that holds no rows
    // of the table, or rows that do not add up to the count its definition keeps, are
    // damage: the rows read would be some of the table's, or another's.
    template <typename OnRow>
    void scanRows(const JetTable& table, OnRow&& onRow) {
        std::uint64_t rowsRead = 0;
        for (const std::uint32_t number : table.dataPages) {
            const ByteView page = pages->read(number);
            if (!holdsRowsOf(page, table))
                throw Damage("its usage map names page " + std::to_string(number) +
                             ", which holds no rows of it");
            std::vector<std::pair<std::size_t, RowBounds>> live;
            for (std::size_t row = 0, rows = rowCount(*pages, page); row < rows; ++row) {
                const RowBounds bounds = rowBounds(*pages, page, row);
                if (!bounds.deleted)
                    live.emplace_back(row, bounds);
            }
            if (live.size() * table.columns.size() > MaxValuesPerPageByte * page.size())
                throw Damage("page " + std::to_string(number) +
                             " holds more values than fit in it");
            rowsRead += live.size();
            for (const auto& [row, bounds] : live)
                onRow(page, row, crackRow(*pages, table, page, bounds));
        }
        if (rowsRead != table.rowCount)
            throw Damage("its data pages hold " + std::to_string(rowsRead) +
                         " rows, its definition counts " + std::to_string(table.rowCount));
    }

    Variant value(const JetTable& table, std::size_t column, const ByteView& page, std::size_t row,
                  const std::vector<Field>& fields) {
        const JetColumn& stored = table.columns[column];
        try {
            return decodeValue(*pages, stored, page, fields[column], claims,
                               valueOwner(page.page(), row, stored.number));
        } catch (const Damage& damage) {
            throw Damage("column '" + stored.name + "': " + damage.what());
        }
    }

    // The user tables' names and definition pages, from the system table MSysObjects.
    void readCatalogue() {
        const JetTable objects = readJetTable(*pages, SystemObjectsName, SystemObjectsPage);
        std::vector<std::size_t> wanted;
        for (const auto& [name, type] : {std::pair{"Id", jet::types::Long},
                                         {"Name", jet::types::Text},
                                         {"Type", jet::types::Integer},
                                         {"Flags", jet::types::Long}}) {
            const JetColumn* column = columnNamed(objects, name);
            if (!column || column->type != type)
                throw Damage("it lacks its column '" + std::string(name) + "' of type " +
                             std::to_string(type));
            wanted.push_back(static_cast<std::size_t>(column - objects.columns.data()));
        }
        TableClaims catalogued;
        scanRows(
            objects, [&](const ByteView& page, std::size_t row, const std::vector<Field>& fields) {
                std::vector<Variant> values;
                for (const std::size_t column : wanted)
                    values.push_back(value(objects, column, page, row, fields));
                const Variant& id = values[0];
                const Variant& name = values[1];
                const Variant& type = values[2];
                const Variant& flags = values[3];
                // The columns' types make every number an integer of 32 bits at most.
                const auto bits = [](const Variant& number) {
                    return static_cast<std::uint32_t>(static_cast<std::int64_t>(number.toDouble()));
                };
                if (id.isNull() || name.isNull() || type.isNull() ||
                    (bits(type) & 0x7F) != jet::TableObject)
                    return;
                CatalogueEntry entry{name.toText(), bits(id) & 0x00FFFFFFu};
                catalogued.claim(entry.name, entry.definitionPage);
                if (!flags.isNull() && (bits(flags) & 0x80000002u))
                    return;
                userTables.push_back(std::move(entry));
            });
        catalogued.checkSystemDefinition();
        for (const CatalogueEntry& entry : userTables)
            byFoldedName.emplace(paths::foldCase(entry.name), &entry);
    }

    JetTable& table(const std::string& name) {
        auto found = tables.find(name);
        if (found != tables.end())
            return found->second;
        const CatalogueEntry* entry = byFoldedName.at(paths::foldCase(name));
        JetTable table = readJetTable(*pages, name, entry->definitionPage);
        if (table.kind != UserTableKind)
            throw Damage("its definition on page " + std::to_string(entry->definitionPage) +
                         " is no user table's");
        return tables.emplace(name, std::move(table)).first->second;
    }

    std::vector<StoredColumn> described(const JetTable& table) const {
        std::vector<StoredColumn> columns;
        for (const JetColumn& column : table.columns) {
            const auto characterBytes = static_cast<int>(pages->layout().characterBytes);
            columns.push_back({column.name, descriptionType(column.type),
                               column.type == jet::types::Text ? column.size / characterBytes : 0});
        }
        return columns;
    }

    // Calls onRow(page number, row number, values) for each row the filter accepts.
    template <typename OnRow>
    void acceptedRows(const JetTable& table, const std::optional<RowFilter>& filter,
                      OnRow&& onRow) {
        scanRows(table,
                 [&](const ByteView& page, std::size_t row, const std::vector<Field>& fields) {
                     std::vector<Variant> values(table.columns.size());
                     if (filter) {
                         values[filter->column] = value(table, filter->column, page, row, fields);
                         if (!filter->accepts(values[filter->column]))
                             return;
                     }
                     for (std::size_t i = 0; i < values.size(); ++i) {
                         if (!filter || i != filter->column)
                             values[i] = value(table, i, page, row, fields);
                     }
                     onRow(page.page(), row, std::move(values));
                 });
    }

    std::vector<Variant> rowAt(const JetTable& table, RowPlace place) {
        const ByteView page = pages->read(place.page);
        if (!holdsRowsOf(page, table) || place.row >= rowCount(*pages, page))
            throw Damage("page " + std::to_string(place.page) + " no longer holds row " +
                         std::to_string(place.row));
        const std::vector<Field> fields =
            crackRow(*pages, table, page, rowBounds(*pages, page, place.row));
        std::vector<Variant> values;
        for (std::size_t i = 0; i < table.columns.size(); ++i)
            values.push_back(value(table, i, page, place.row, fields));
        return values;
    }

    // Runs a read of the table, naming it in the error a damage gives.
    template <typename Read>
    auto reading(const std::string& table, Read&& read) {
        std::lock_guard lock(mutex);
        try {
            return read(this->table(table));
        } catch (const Damage& damage) {
            throw damaged("table '" + table + "': " + damage.what());
        }
    }
};

JetReader::JetReader(std::unique_ptr<JetPages> pages, const std::string& displayPath)
    : impl_(std::make_unique<Impl>()) {
    impl_->displayPath = displayPath;
    impl_->pages = std::move(pages);
    try {
        impl_->readCatalogue();
    } catch (const Damage& damage) {
        throw impl_->damaged(std::string("its table catalogue: ") + damage.what());
    }
}

JetReader::~JetReader() = default;

const JetHeader& JetReader::header() const {
    return impl_->pages->header();
}

std::vector<std::string> JetReader::userTables() const {
    std::vector<std::string> names;
    for (const auto& entry : impl_->userTables)
        names.push_back(entry.name);
    return names;
}

std::optional<std::string> JetReader::findUserTable(std::string_view name) const {
    const auto found = impl_->byFoldedName.find(paths::foldCase(name));
    if (found == impl_->byFoldedName.end())
        return std::nullopt;
    return found->second->name;
}

std::vector<StoredColumn> JetReader::columns(const std::string& table) {
    return impl_->reading(table, [&](const JetTable& stored) { return impl_->described(stored); });
}

void JetReader::eachRow(const std::string& table, const std::optional<RowFilter>& filter,
                        const std::function<void(std::vector<Variant>&&)>& onRow) {
    impl_->reading(table, [&](const JetTable& stored) {
        impl_->acceptedRows(stored, filter,
                            [&](std::uint32_t, std::size_t, std::vector<Variant>&& values) {
                                onRow(std::move(values));
                            });
    });
}

std::vector<RowPlace> JetReader::rowPlaces(const std::string& table,
                                           const std::optional<RowFilter>& filter) {
    return impl_->reading(table, [&](const JetTable& stored) {
        std::vector<RowPlace> places;
        impl_->acceptedRows(stored, filter,
                            [&](std::uint32_t page, std::size_t row, std::vector<Variant>&&) {
                                places.push_back({page, static_cast<std::uint32_t>(row)});
                            });
        return places;
    });
}

std::vector<Variant> JetReader::rowAt(const std::string& table, RowPlace place) {
    return impl_->reading(table,
                          [&](const JetTable& stored) { return impl_->rowAt(stored, place); });
}

}  // namespace tessaro::catalogue
