// SPDX-License-Identifier: MIT
// Arbitrary text as a catalogue description (the JSON tessaro-catalogue build takes):
// read, written as a Jet 3 file, and read back by the engine. What the writer accepts
// must come back as described: the same tables, columns and values.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/scratch_file.h"
#include "platform/catalogue/catalogue_dump.h"
#include "platform/catalogue/writer/catalogue_description_json.h"

namespace {

using namespace tessaro;
using catalogue::ColumnType;

[[noreturn]] void finding(const std::string& where, const std::string& what) {
    std::fprintf(stderr, "%s: %s\n", where.c_str(), what.c_str());
    std::abort();
}

// A value as the engine hands back the described one: booleans as -1 / 0, numbers of
// every numeric column compared as numbers.
bool sameValue(const Variant& described, const Variant& read, ColumnType type) {
    if (described.isNull())
        return read.isNull() || (type == ColumnType::Boolean && read == Variant(0));
    switch (type) {
        case ColumnType::Boolean:
            return read == Variant(described.toDouble() != 0 ? -1 : 0);
        case ColumnType::Text:
        case ColumnType::Memo:
            return read.kind() == Variant::Kind::Text && read.toText() == described.toText();
        default:
            return !read.isNull() && read.kind() != Variant::Kind::Text &&
                   read.toDouble() == described.toDouble();
    }
}

void compareTables(const catalogue::TableDescription& described,
                   const catalogue::TableDescription& read) {
    if (read.name != described.name || read.columns.size() != described.columns.size() ||
        read.rows.size() != described.rows.size())
        finding(described.name, "the table came back with another name or shape");
    for (std::size_t c = 0; c < described.columns.size(); ++c) {
        const auto& want = described.columns[c];
        const auto& got = read.columns[c];
        if (got.name != want.name || got.type != want.type ||
            (want.type == ColumnType::Text && got.size != want.size))
            finding(described.name + "." + want.name, "the column came back otherwise");
        for (std::size_t r = 0; r < described.rows.size(); ++r) {
            if (!sameValue(described.rows[r][c], read.rows[r][c], want.type))
                finding(described.name + "." + want.name + " row " + std::to_string(r + 1),
                        "wrote " + describe(described.rows[r][c]) + ", read " +
                            describe(read.rows[r][c]));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto json = nlohmann::json::parse(data, data + size, nullptr, false);
    if (json.is_discarded())
        return 0;
    catalogue::CatalogueDescription description;
    try {
        description = catalogue::catalogueDescriptionFromJson(json);
    } catch (const Error&) {
        return 0;
    }
    const std::string password = size % 2 ? "Lark7meadOW" : "";
    const std::string file = fuzzing::scratchFile("VUDuzu.mdb", nullptr, 0);
    try {
        catalogue::writeCatalogue(description, file, password);
    } catch (const Error&) {
        return 0;
    }
    const catalogue::CatalogueDescription read = catalogue::dumpCatalogue(file, password);
    if (read.tables.size() != description.tables.size())
        finding(file, "the file came back with another number of tables");
    for (std::size_t t = 0; t < description.tables.size(); ++t)
        compareTables(description.tables[t], read.tables[t]);
    return 0;
}
