// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tessaro/export.h>
#include <tessaro/variant.h>

namespace tessaro::catalogue {

// Jet error numbers the engine reports through tessaro::Error.
namespace errors {
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int FileNotFound = 3024;
inline constexpr int NotValidPassword = 3031;
inline constexpr int FileInUse = 3045;
inline constexpr int SyntaxInQueryExpression = 3075;
inline constexpr int TableNotFound = 3078;
inline constexpr int SyntaxInFromClause = 3131;
inline constexpr int SyntaxInSelect = 3141;
inline constexpr int ItemNotInCollection = 3265;
inline constexpr int UnrecognizedDatabaseFormat = 3343;
inline constexpr int ObjectClosed = 3420;
}  // namespace errors

// A snapshot over a query's rows, in the order the table stores them. Every member
// throws tessaro::Error with the Jet number: 3021 when there is no current row, 3420
// once the recordset or its database has been closed.
class TESSARO_EXPORT Recordset {
  public:
    virtual ~Recordset() = default;

    // Position on the first / last row; an empty result fails with 3021.
    virtual void moveFirst() = 0;
    virtual void moveLast() = 0;
    // Advance one row; past the last row eof() becomes true. At eof() it fails with 3021.
    virtual void moveNext() = 0;
    virtual bool eof() const = 0;
    // The number of rows; the full count once moveLast has run.
    virtual std::int64_t recordCount() const = 0;
    // The current row's value of the column, looked up case-blind. No current row:
    // 3021; no such column: 3265.
    virtual Variant field(std::string_view name) const = 0;
    // The result's column names in stored order (DAO's Fields collection), for tools that
    // print whole rows. Stand-ins that do not know their columns may keep this default.
    virtual std::vector<std::string> fieldNames() const { return {}; }
    // Closes the recordset; a second close fails with 3420.
    virtual void close() = 0;
};

// An open catalogue file. Closing it closes its recordsets too.
class TESSARO_EXPORT Database {
  public:
    virtual ~Database() = default;

    // Runs one query: "select * from TABLE" or "select * from TABLE where COLUMN =
    // "LITERAL"" (keywords and names case-blind, "" inside the literal for one quote,
    // text compared case-blind as Jet does). An empty result is no error. A malformed
    // query fails with 3075, 3131 or 3141, an unknown table with 3078, an unknown column
    // in the condition with 3265, a closed database with 3420. A number column matches a
    // literal that spells its value. The recordset stands on its first row (eof() when
    // empty).
    virtual std::shared_ptr<Recordset> openRecordset(std::string_view sql) = 0;
    // Releases the file; later uses fail with 3420, and so does a second close.
    virtual void close() = 0;
};

// The database engine, one per process.
class TESSARO_EXPORT Engine {
  public:
    virtual ~Engine() = default;

    // Opens a Jet file. The path is Windows-style and goes through paths::resolve.
    // connect is the DAO connect text (";PWD=secret;"). Fails with 3024 for a missing
    // file, 3343 for a file that is no Jet database or is damaged, 3031 for a wrong
    // password (a file without password opens whatever PWD says), 3045 when another
    // process holds the file exclusively or this open is exclusive and another process
    // holds it at all. Opens of the same file within one process never exclude each
    // other. The handle owns the file until closed or released.
    virtual std::shared_ptr<Database> openDatabase(std::string_view path, bool exclusive,
                                                   bool readOnly, std::string_view connect) = 0;
};

// The process's engine, created on first use.
TESSARO_EXPORT Engine& processEngine();

}  // namespace tessaro::catalogue
