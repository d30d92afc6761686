#include "platform/catalogue/mdb_reading.h"

#include <mdbtools.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "platform/catalogue/catalogue.h"
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

constexpr int RowOffsetMask = 0x1fff;
constexpr int MemoLengthMask = 0x3fffffff;
constexpr int MemoOverhead = 12;

// libmdb converts text into a buffer of its bind size; UTF-8 takes at most three bytes
// for each stored byte.
std::size_t textBufferFor(std::size_t storedBytes) {
    return storedBytes * 3 + 16;
}

ColumnType descriptionType(const MdbColumn& column) {
    switch (column.col_type) {
        case MDB_BOOL:
            return ColumnType::Boolean;
        case MDB_BYTE:
        case MDB_INT:
            return ColumnType::Integer;
        case MDB_LONGINT:
        case MDB_COMPLEX:
            return ColumnType::Long;
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_DATETIME:
        case MDB_NUMERIC:
            return ColumnType::Double;
        case MDB_TEXT:
        case MDB_REPID:
            return ColumnType::Text;
        default:
            return ColumnType::Memo;
    }
}

Variant ownedText(char* text) {
    Variant value{std::string(text ? text : "")};
    g_free(text);
    return value;
}

}  // namespace

struct MdbReader::Impl {
    struct Table {
        MdbTableDef* definition = nullptr;
        std::vector<MdbColumn*> columns;
        std::vector<StoredColumn> described;
        // libmdb hands OLE data over only through a bound buffer.
        std::vector<std::vector<char>> oleBuffers;
    };

    MdbHandle* mdb = nullptr;
    std::string displayPath;
    std::vector<MdbCatalogEntry*> userTables;
    std::map<std::string, MdbCatalogEntry*> byFoldedName;
    std::map<std::string, Table> tables;
    std::mutex mutex;

    ~Impl() {
        for (auto& [name, table] : tables)
            mdb_free_tabledef(table.definition);
        mdb_close(mdb);
    }

    Error damaged(const std::string& what) const {
        return Error(errors::UnrecognizedDatabaseFormat,
                     "catalogue file '" + displayPath + "' is damaged: " + what);
    }

    void readCatalogue() {
        GPtrArray* catalogue = mdb_read_catalog(mdb, MDB_TABLE);
        if (!catalogue)
            throw damaged("its table catalogue cannot be read");
        for (guint i = 0; i < catalogue->len; ++i) {
            auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(catalogue, i));
            if (!mdb_is_user_table(entry))
                continue;
            userTables.push_back(entry);
            byFoldedName.emplace(paths::foldCase(entry->object_name), entry);
        }
    }

    Table& table(const std::string& name) {
        auto found = tables.find(name);
        if (found != tables.end())
            return found->second;
        MdbCatalogEntry* entry = byFoldedName.at(paths::foldCase(name));
        Table table;
        table.definition = mdb_read_table(entry);
        if (!table.definition)
            throw damaged("table '" + name + "' cannot be read");
        if (!mdb_read_columns(table.definition)) {
            mdb_free_tabledef(table.definition);
            throw damaged("the columns of table '" + name + "' cannot be read");
        }
        for (guint i = 0; i < table.definition->num_cols; ++i) {
            auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table.definition->columns, i));
            table.columns.push_back(column);
            const bool wideText = mdb->f->jet_version != MDB_VER_JET3;
            table.described.push_back(
                {column->name, descriptionType(*column),
                 column->col_type == MDB_TEXT ? column->col_size / (wideText ? 2 : 1) : 0});
            if (column->col_type == MDB_OLE) {
                auto& buffer = table.oleBuffers.emplace_back(MDB_PGSIZE);
                mdb_bind_column(table.definition, static_cast<int>(i + 1), buffer.data(), nullptr);
            }
        }
        return tables.emplace(name, std::move(table)).first->second;
    }

    Variant text(const MdbField& field, int type, std::size_t storedBytes) {
        mdb_set_bind_size(mdb, textBufferFor(storedBytes));
        return ownedText(mdb_col_to_string(mdb, mdb->pg_buf, field.start, type, field.siz));
    }

    Variant oleData(MdbColumn* column) {
        std::size_t size = 0;
        void* data = mdb_ole_read_full(mdb, column, &size);
        Variant value{std::string(static_cast<const char*>(data), data ? size : 0)};
        std::free(data);
        return value;
    }

    Variant value(MdbColumn* column, const MdbField& field) {
        if (column->col_type == MDB_BOOL)
            return Variant(field.is_null ? 0 : -1);
        if (field.is_null)
            return Variant::null();
        unsigned char* page = mdb->pg_buf;
        switch (column->col_type) {
            case MDB_BYTE:
                return Variant(int{mdb_get_byte(page, field.start)});
            case MDB_INT:
                return Variant(int{static_cast<std::int16_t>(mdb_get_int16(page, field.start))});
            case MDB_LONGINT:
            case MDB_COMPLEX:
                return Variant(int{static_cast<std::int32_t>(mdb_get_int32(page, field.start))});
            case MDB_MONEY: {
                std::int64_t tenThousandths = 0;
                std::memcpy(&tenThousandths, page + field.start, sizeof tenThousandths);
                return Variant(static_cast<double>(tenThousandths) / 10000.0);
            }
            case MDB_FLOAT:
                return Variant(double{mdb_get_single(page, field.start)});
            case MDB_DOUBLE:
            case MDB_DATETIME:
                return Variant(mdb_get_double(page, field.start));
            case MDB_NUMERIC: {
                char* digits =
                    mdb_numeric_to_string(mdb, field.start, column->col_scale, column->col_prec);
                const double number = std::strtod(digits, nullptr);
                g_free(digits);
                return Variant(number);
            }
            case MDB_MEMO: {
                const std::size_t stored = field.siz < MemoOverhead
                                               ? 0
                                               : mdb_get_int32(page, field.start) & MemoLengthMask;
                return text(field, MDB_MEMO, stored);
            }
            case MDB_OLE:
                return oleData(column);
            default:
                return text(field, column->col_type, field.siz);
        }
    }

    // Splits the row libmdb has just fetched into its fields.
    bool crackCurrentRow(Table& table, std::vector<MdbField>& fields) {
        int start = 0;
        std::size_t size = 0;
        if (mdb_find_row(mdb, static_cast<int>(table.definition->cur_row) - 1, &start, &size) != 0)
            return false;
        return mdb_crack_row(table.definition, start & RowOffsetMask, size, fields.data()) >= 0;
    }
};

MdbReader::MdbReader(const std::string& resolvedPath, const std::string& displayPath)
    : impl_(std::make_unique<Impl>()) {
    impl_->displayPath = displayPath;
    impl_->mdb = mdb_open(resolvedPath.c_str(), MDB_NOFLAGS);
    if (!impl_->mdb)
        throw impl_->damaged("libmdb cannot open it");
    impl_->readCatalogue();
}

MdbReader::~MdbReader() = default;

std::vector<std::string> MdbReader::userTables() const {
    std::vector<std::string> names;
    for (const MdbCatalogEntry* entry : impl_->userTables)
        names.emplace_back(entry->object_name);
    return names;
}

std::optional<std::string> MdbReader::findUserTable(std::string_view name) const {
    const auto found = impl_->byFoldedName.find(paths::foldCase(name));
    if (found == impl_->byFoldedName.end())
        return std::nullopt;
    return std::string(found->second->object_name);
}

std::vector<StoredColumn> MdbReader::columns(const std::string& table) {
    std::lock_guard lock(impl_->mutex);
    return impl_->table(table).described;
}

std::vector<std::vector<Variant>> MdbReader::rows(const std::string& tableName,
                                                  const std::optional<RowFilter>& filter) {
    std::lock_guard lock(impl_->mutex);
    Impl::Table& table = impl_->table(tableName);
    const std::size_t width = table.columns.size();
    std::vector<MdbField> fields(width);
    std::vector<std::vector<Variant>> rows;
    mdb_rewind_table(table.definition);
    while (mdb_fetch_row(table.definition)) {
        if (!impl_->crackCurrentRow(table, fields))
            continue;
        std::vector<Variant> row(width);
        if (filter) {
            row[filter->column] =
                impl_->value(table.columns[filter->column], fields[filter->column]);
            if (!filter->accepts(row[filter->column]))
                continue;
        }
        for (std::size_t i = 0; i < width; ++i) {
            if (!filter || i != filter->column)
                row[i] = impl_->value(table.columns[i], fields[i]);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace tessaro::catalogue
