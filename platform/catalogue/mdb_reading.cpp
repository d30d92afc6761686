#include "platform/catalogue/mdb_reading.h"

#include <mdbtools.h>
#include <sys/stat.h>

#include <cstdio>
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
constexpr unsigned long SystemObjectsPage = 2;

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

// Bytes a value of the type takes in its row.
int storedWidth(int type, int variableSize) {
    switch (type) {
        case MDB_BYTE:
            return 1;
        case MDB_INT:
            return 2;
        case MDB_LONGINT:
        case MDB_COMPLEX:
        case MDB_FLOAT:
            return 4;
        case MDB_MONEY:
        case MDB_DOUBLE:
        case MDB_DATETIME:
            return 8;
        case MDB_NUMERIC:
            return 17;
        default:
            return variableSize;
    }
}

MdbColumn* columnNamed(const MdbTableDef& table, const char* name) {
    for (guint i = 0; i < table.num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table.columns, i));
        if (std::strcmp(column->name, name) == 0)
            return column;
    }
    return nullptr;
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
    std::vector<std::unique_ptr<MdbCatalogEntry>> userTables;
    std::vector<char> textBuffer;
    std::map<std::string, MdbCatalogEntry*> byFoldedName;
    std::map<std::string, Table> tables;
    std::mutex mutex;

    ~Impl() {
        for (auto& [name, table] : tables)
            mdb_free_tabledef(table.definition);
        mdb_close(mdb);
    }

    // libmdb walks a table's usage map without checking it, and takes a data page it
    // cannot read for the end of the table; so a map must be of a known kind and name
    // only pages the file holds.
    bool usageMapSound(MdbTableDef* table) const {
        if (!table || !table->usage_map || table->map_sz < 1 ||
            (table->usage_map[0] != 0 && table->usage_map[0] != 1))
            return false;
        struct stat info {};
        ::fstat(::fileno(mdb->f->stream), &info);
        const auto pages = static_cast<std::uint64_t>(info.st_size) / mdb->fmt->pg_size;
        gint32 page = 0;
        while ((page = mdb_map_find_next(mdb, table->usage_map, table->map_sz, page)) > 0) {
            if (static_cast<std::uint64_t>(page) >= pages)
                return false;
        }
        return page == 0;
    }

    Error damaged(const std::string& what) const {
        return Error(errors::UnrecognizedDatabaseFormat,
                     "catalogue file '" + displayPath + "' is damaged: " + what);
    }

    // libmdb's own catalogue read also parses every object's properties, which makes up
    // most of an open on a file of a thousand tables; the tables' names, pages and flags
    // are all the engine needs.
    void readCatalogue() {
        MdbCatalogEntry systemObjects{};
        systemObjects.mdb = mdb;
        systemObjects.object_type = MDB_TABLE;
        systemObjects.table_pg = SystemObjectsPage;
        std::snprintf(systemObjects.object_name, sizeof systemObjects.object_name, "MSysObjects");
        const std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> objects(
            mdb_read_table(&systemObjects), mdb_free_tabledef);
        if (!usageMapSound(objects.get()) || !mdb_read_columns(objects.get()))
            throw damaged("its table catalogue cannot be read");
        MdbColumn* id = columnNamed(*objects, "Id");
        MdbColumn* name = columnNamed(*objects, "Name");
        MdbColumn* type = columnNamed(*objects, "Type");
        MdbColumn* flags = columnNamed(*objects, "Flags");
        if (!id || !name || !type || !flags)
            throw damaged("its table catalogue lacks a column");

        mdb_rewind_table(objects.get());
        while (mdb_fetch_row(objects.get())) {
            if (id->cur_value_len == 0 || name->cur_value_len == 0 || type->cur_value_len == 0 ||
                (mdb_get_int16(mdb->pg_buf, type->cur_value_start) & 0x7F) != MDB_TABLE)
                continue;
            auto entry = std::make_unique<MdbCatalogEntry>();
            entry->mdb = mdb;
            entry->object_type = MDB_TABLE;
            entry->table_pg = mdb_get_int32(mdb->pg_buf, id->cur_value_start) & 0x00FFFFFF;
            entry->flags =
                flags->cur_value_len ? mdb_get_int32(mdb->pg_buf, flags->cur_value_start) : 0;
            const std::string tableName = text(name->cur_value_start, name->cur_value_len);
            std::snprintf(entry->object_name, sizeof entry->object_name, "%s", tableName.c_str());
            if (!mdb_is_user_table(entry.get()))
                continue;
            byFoldedName.emplace(paths::foldCase(entry->object_name), entry.get());
            userTables.push_back(std::move(entry));
        }
    }

    Table& table(const std::string& name) {
        auto found = tables.find(name);
        if (found != tables.end())
            return found->second;
        MdbCatalogEntry* entry = byFoldedName.at(paths::foldCase(name));
        Table table;
        table.definition = mdb_read_table(entry);
        if (!usageMapSound(table.definition)) {
            mdb_free_tabledef(table.definition);
            throw damaged("table '" + name + "' cannot be read");
        }
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

    // A damaged row can point its values anywhere; libmdb does not check all of it.
    void requireInPage(int start, int size) const {
        if (start < 0 || size < 0 || start + size > static_cast<int>(mdb->fmt->pg_size))
            throw damaged("a value lies outside its page");
    }

    // Text stored at start in the current page, as UTF-8.
    std::string text(int start, int size) {
        requireInPage(start, size);
        textBuffer.resize(textBufferFor(static_cast<std::size_t>(size)));
        mdb_unicode2ascii(mdb, reinterpret_cast<const char*>(mdb->pg_buf) + start,
                          static_cast<std::size_t>(size), textBuffer.data(), textBuffer.size());
        return std::string(textBuffer.data());
    }

    // Memo, replication id and binary values, which libmdb gathers from other pages or
    // formats itself.
    Variant converted(const MdbField& field, int type, std::size_t storedBytes) {
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
        requireInPage(field.start, storedWidth(column->col_type, field.siz));
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
                return converted(field, MDB_MEMO, stored);
            }
            case MDB_TEXT:
                return Variant(text(field.start, field.siz));
            case MDB_OLE:
                return oleData(column);
            default:
                return converted(field, column->col_type, field.siz);
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

MdbReader::MdbReader(const std::string& path, const std::string& displayPath)
    : impl_(std::make_unique<Impl>()) {
    impl_->displayPath = displayPath;
    impl_->mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (!impl_->mdb)
        throw impl_->damaged("libmdb cannot open it");
    impl_->readCatalogue();
}

MdbReader::~MdbReader() = default;

std::vector<std::string> MdbReader::userTables() const {
    std::vector<std::string> names;
    for (const auto& entry : impl_->userTables)
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
