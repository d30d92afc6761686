// SPDX-License-Identifier: MIT
#include "platform/media/gst/file_range_source.h"

#include <gst/app/gstappsrc.h>

#include <cstdio>
#include <memory>

namespace tessaro::media::gst {
namespace {

constexpr guint ReadSize = 64 * 1024;

struct FileRange {
    std::string path;
    std::uint64_t from = 0;
};

// One reader per source element: appsrc calls it from its streaming thread only.
struct RangeReader {
    std::FILE* file = nullptr;
    std::uint64_t from = 0;
    std::uint64_t at = 0;

    ~RangeReader() {
        if (file)
            std::fclose(file);
    }
};

void needData(GstAppSrc* source, guint length, gpointer data) {
    auto* reader = static_cast<RangeReader*>(data);
    const guint wanted = length > 0 && length < ReadSize ? length : ReadSize;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, wanted, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    std::size_t got = 0;
    if (::fseeko(reader->file, static_cast<off_t>(reader->from + reader->at), SEEK_SET) == 0)
        got = std::fread(map.data, 1, wanted, reader->file);
    gst_buffer_unmap(buffer, &map);
    if (got == 0) {
        gst_buffer_unref(buffer);
        gst_app_src_end_of_stream(source);
        return;
    }
    gst_buffer_set_size(buffer, static_cast<gssize>(got));
    GST_BUFFER_OFFSET(buffer) = reader->at;
    reader->at += got;
    gst_app_src_push_buffer(source, buffer);
}

gboolean seekData(GstAppSrc*, guint64 offset, gpointer data) {
    static_cast<RangeReader*>(data)->at = offset;
    return TRUE;
}

void dropReader(gpointer data) {
    delete static_cast<RangeReader*>(data);
}

void setUpSource(GstElement*, GstElement* source, gpointer data) {
    const auto* range = static_cast<const FileRange*>(data);
    auto reader = std::make_unique<RangeReader>();
    reader->file = std::fopen(range->path.c_str(), "rb");
    reader->from = range->from;
    if (!reader->file || !GST_IS_APP_SRC(source))
        return;
    GstAppSrc* appsrc = GST_APP_SRC(source);
    ::fseeko(reader->file, 0, SEEK_END);
    const auto size = static_cast<std::uint64_t>(::ftello(reader->file));
    gst_app_src_set_size(appsrc, static_cast<gint64>(size > range->from ? size - range->from : 0));
    gst_app_src_set_stream_type(appsrc, GST_APP_STREAM_TYPE_RANDOM_ACCESS);
    g_object_set(appsrc, "format", GST_FORMAT_BYTES, nullptr);
    GstAppSrcCallbacks callbacks{};
    callbacks.need_data = needData;
    callbacks.seek_data = seekData;
    gst_app_src_set_callbacks(appsrc, &callbacks, reader.release(), dropReader);
}

void dropRange(gpointer data) {
    delete static_cast<FileRange*>(data);
}

}  // namespace

void playFileFrom(GstElement* playbin, const std::string& path, std::uint64_t from) {
    g_object_set(playbin, "uri", "appsrc://", nullptr);
    auto* range = new FileRange{path, from};
    g_object_set_data_full(G_OBJECT(playbin), "tessaro-file-range", range, dropRange);
    g_signal_connect(playbin, "source-setup", G_CALLBACK(setUpSource), range);
}

}  // namespace tessaro::media::gst
