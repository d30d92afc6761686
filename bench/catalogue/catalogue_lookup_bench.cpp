// SPDX-License-Identifier: MIT
// The catalogue side of an asana lookup, as the control performs it, on a catalogue of
// 1,000 asanas each with its own clip table of 20 rows. Prints the median time per lookup.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <tessaro/catalogue.h>
#include "course/course_catalogue.h"
#include "course/course_folder.h"
#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::catalogue {
namespace {

namespace fs = std::filesystem;

constexpr int Asanas = 1000;
constexpr int ClipsPerAsana = 20;

std::string asanaName(int id) {
    return "Asana pose number " + std::to_string(id);
}

CatalogueDescription lookupCatalogue() {
    CatalogueDescription description;
    TableDescription asanas{"Asanas",
                            {{"name", ColumnType::Text, 50},
                             {"AsanaID", ColumnType::Long},
                             {"Disp_Type", ColumnType::Text, 10},
                             {"VideoName", ColumnType::Text, 50}},
                            {}};
    for (int id = 1; id <= Asanas; ++id)
        asanas.rows.push_back({asanaName(id), id, "Video", "pose" + std::to_string(id) + ".mpg"});
    description.tables.push_back(std::move(asanas));
    for (int id = 1; id <= Asanas; ++id) {
        TableDescription clips{"Audio_Asana" + std::to_string(id),
                               {{"Filename", ColumnType::Text, 50},
                                {"Action", ColumnType::Text, 50},
                                {"StartPos", ColumnType::Integer},
                                {"EndPos", ColumnType::Integer},
                                {"Filelen", ColumnType::Double}},
                               {}};
        for (int clip = 0; clip < ClipsPerAsana; ++clip)
            clips.rows.push_back({"clip" + std::to_string(id) + "_" + std::to_string(clip), "speak",
                                  clip * 100, clip * 100 + 90, 3.5});
        description.tables.push_back(std::move(clips));
    }
    return description;
}

const std::string& cataloguePath() {
    static const std::string path = [] {
        const fs::path folder =
            fs::temp_directory_path() / ("tessaro-lookup-bench-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        const std::string file = (folder / course::CatalogueFileName).string();
        writeCatalogue(lookupCatalogue(), file, std::string(course::CataloguePassword));
        return file;
    }();
    return path;
}

// open database, asana query, move first, open clip table, move last, record count, move
// first; returns the database so that the caller decides when it is released.
std::shared_ptr<Database> lookup(int id) {
    auto database = course::openCatalogue(processEngine(), cataloguePath());
    auto recordset = database->openRecordset(course::asanaQuery(asanaName(id)));
    recordset->moveFirst();
    recordset = database->openRecordset(course::clipsQuery(
        course::clipsQueryPrefix(course::AsanaKind::Video), recordset->field("AsanaID")));
    recordset->moveLast();
    benchmark::DoNotOptimize(recordset->recordCount());
    recordset->moveFirst();
    return database;
}

// Each lookup after the previous playback was stopped: the file is opened afresh.
void BM_LookupAfterStop(benchmark::State& state) {
    cataloguePath();
    int id = 0;
    for (auto _ : state) {
        auto database = lookup(id % Asanas + 1);
        database->close();
        ++id;
    }
}
BENCHMARK(BM_LookupAfterStop)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// Lookups in a row without a stop: the control's previous handle still holds the file
// while the next one opens it.
void BM_LookupWhileHeld(benchmark::State& state) {
    cataloguePath();
    std::shared_ptr<Database> held;
    int id = 0;
    for (auto _ : state) {
        held = lookup(id % Asanas + 1);
        ++id;
    }
}
BENCHMARK(BM_LookupWhileHeld)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

}  // namespace
}  // namespace tessaro::catalogue

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(
        std::filesystem::path(tessaro::catalogue::cataloguePath()).parent_path());
    return 0;
}
