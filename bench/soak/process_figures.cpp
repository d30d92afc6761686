// SPDX-License-Identifier: MIT
#include "bench/soak/process_figures.h"

#include <gst/gst.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tessaro::soak {
namespace {

// Entries of a /proc folder, less the descriptor the listing itself holds open.
int entriesOf(const char* folder, int listingOwn) {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder))
        ++count;
    return count - listingOwn;
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value)
            return value;
        status.ignore(1 << 10, '\n');
    }
    return 0;
}

// The leaks tracer's activity tracking lists the pipelines made and finalized since its
// last checkpoint; unlike its list of live objects, it takes no reference from them.
GstTracer* leaksTracer() {
    static GstTracer* const tracer = [] {
        gst_init(nullptr, nullptr);
        GstTracer* found = nullptr;
        GList* tracers = gst_tracing_get_active_tracers();
        for (GList* t = tracers; t && !found; t = t->next) {
            if (g_str_equal(G_OBJECT_TYPE_NAME(t->data), "GstLeaksTracer"))
                found = GST_TRACER(gst_object_ref(t->data));
        }
        g_list_free_full(tracers, gst_object_unref);
        if (found)
            g_signal_emit_by_name(found, "activity-start-tracking");
        return found;
    }();
    return tracer;
}

int listSize(const GstStructure* checkpoint, const char* field) {
    const GValue* list = gst_structure_get_value(checkpoint, field);
    return list ? static_cast<int>(gst_value_list_get_size(list)) : 0;
}

int livePipelines() {
    static int live = 0;
    GstTracer* tracer = leaksTracer();
    if (!tracer)
        return -1;
    GstStructure* checkpoint = nullptr;
    g_signal_emit_by_name(tracer, "activity-get-checkpoint", &checkpoint);
    live +=
        listSize(checkpoint, "objects-created-list") - listSize(checkpoint, "objects-removed-list");
    gst_structure_free(checkpoint);
    return live;
}

}  // namespace

void followPipelines() {
    ::setenv("GST_TRACERS", "leaks(filters=GstPipeline,stack-traces-flags=none)", 0);
    leaksTracer();
}

ProcessFigures measureProcess() {
    return {entriesOf("/proc/self/fd", 1), entriesOf("/proc/self/task", 0), residentKiB(),
            livePipelines()};
}

}  // namespace tessaro::soak
