// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/render_commands.h"

#include <filesystem>
#include <vector>

#include <tessaro/catalogue.h>
#include <tessaro/command_service.h>
#include "course/asana_list.h"
#include "course/course_folder.h"
#include "tools/tessaro-render/asana_render.h"
#include "tools/tessaro-render/course_index.h"
#include "tools/tessaro-render/output_file.h"
#include "tools/tessaro-render/timeline_recorder.h"

namespace tessaro::render {
namespace {

// The asanas as the catalogue lists them; an unreadable catalogue fails the run here,
// where the control would go on silently with whatever it read.
std::vector<course::AsanaEntry> courseAsanas(const std::string& resourceDir) {
    try {
        return course::listAsanas(catalogue::processEngine(), resourceDir);
    } catch (const Error& error) {
        throw Error(error.number(), "cannot read the catalogue " +
                                        course::posixSpelling(course::cataloguePath(resourceDir)) +
                                        ": " + error.text());
    }
}

int exitCodeOf(const Error& failure) {
    return failure.number() == AsanaNotFound ? ExitAsanaNotFound : ExitFailed;
}

// A failure is told with the asana's name in front, unless it is the control's own
// "Asana not found - NAME".
Timeline renderOne(const std::string& resourceDir, const std::string& asana,
                   const std::string& outPath, Container container, Progress& progress) {
    try {
        MediaLibrary library;
        Timeline timeline = recordTimeline(resourceDir, asana, library);
        renderTimeline(timeline, library, outPath, container,
                       [&](double fraction) { progress.advanced(fraction); });
        progress.rendered(outPath, timelineJson(timeline));
        return timeline;
    } catch (const Error& failure) {
        if (failure.number() == AsanaNotFound)
            throw;
        throw Error(failure.number(), asana + ": " + failure.text());
    }
}

// The course folder's name ("sample-course"), also when given with a trailing "/".
std::string courseTitle(const std::string& resourceDir) {
    const std::filesystem::path folder = std::filesystem::absolute(resourceDir).lexically_normal();
    return folder.has_filename() ? folder.filename().string()
                                 : folder.parent_path().filename().string();
}

}  // namespace

int renderAsanaCommand(const RenderOptions& options, Progress& progress) {
    try {
        courseAsanas(options.resourceDir);
        progress.started(1, 1, options.asana);
        renderOne(options.resourceDir, options.asana, options.outPath, options.container, progress);
        return ExitRendered;
    } catch (const Error& failure) {
        progress.failed(failure.text());
        return exitCodeOf(failure);
    }
}

int renderCourseCommand(const RenderOptions& options, Progress& progress) {
    std::vector<course::AsanaEntry> asanas;
    try {
        asanas = courseAsanas(options.resourceDir);
        std::error_code error;
        std::filesystem::create_directories(options.courseDir, error);
        if (error)
            throw Error(media::errors::InternalError,
                        "cannot write " + options.courseDir + ": " + error.message());
    } catch (const Error& failure) {
        progress.failed(failure.text());
        return ExitFailed;
    }
    const int count = static_cast<int>(asanas.size());
    std::vector<IndexEntry> entries;
    bool allRendered = true;
    for (int i = 0; i < count; ++i) {
        IndexEntry entry;
        entry.name = asanas[i].name;
        const std::string file = courseFileName(i + 1, count, entry.name, options.container);
        const std::string outPath = (std::filesystem::path(options.courseDir) / file).string();
        progress.started(i + 1, count, entry.name);
        try {
            entry.timeline =
                renderOne(options.resourceDir, entry.name, outPath, options.container, progress);
            entry.file = file;
            entry.chapters = std::filesystem::path(chaptersPath(file)).string();
        } catch (const Error& failure) {
            progress.failed(failure.text());
            entry.error = failure.text();
            allRendered = false;
        }
        entries.push_back(std::move(entry));
    }
    const std::string index = (std::filesystem::path(options.courseDir) / "index.html").string();
    try {
        writeTextFile(index, courseIndexHtml(courseTitle(options.resourceDir), entries));
    } catch (const Error& failure) {
        progress.failed(failure.text());
        return ExitFailed;
    }
    progress.indexWritten(index);
    return allRendered ? ExitRendered : ExitFailed;
}

}  // namespace tessaro::render
