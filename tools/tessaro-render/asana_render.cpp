// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/asana_render.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>

#include <tessaro/command_service.h>
#include <tessaro/error.h>
#include "tools/tessaro-render/output_file.h"
#include "tools/tessaro-render/sound_mix.h"

namespace tessaro::render {
namespace {

// Picture asanas are rendered at this frame rate.
constexpr int PictureFrameRate = 25;
constexpr int RgbxBytes = 4;

// The frame the control showed at an instant.
class FrameSupply {
  public:
    virtual ~FrameSupply() = default;
    virtual RawVideo format() const = 0;
    virtual GstBuffer* frameAt(double ms) = 0;
};

// The video's frames, decoded once in order: the control never moves the video back.
class VideoSupply : public FrameSupply {
  public:
    explicit VideoSupply(const DeviceTrack& video) : video_(video), frames_(video.path, "I420") {
        if (!frames_.next(current_))
            throw Error(media::errors::InvalidFile, "no frames in " + video.path);
    }

    RawVideo format() const override {
        return {"I420", current_.width, current_.height, video_.rateNumerator,
                video_.rateDenominator};
    }

    GstBuffer* frameAt(double ms) override {
        const long long wanted = video_.frameAt(ms);
        Frame next;
        while (index_ < wanted && frames_.next(next)) {
            current_ = next;
            ++index_;
        }
        return current_.buffer.get();
    }

  private:
    const DeviceTrack& video_;
    VideoFrames frames_;
    Frame current_;
    long long index_ = 0;
};

// Picture1 as a host shows it: the picture at its top left corner, unscaled, on black.
class PictureSupply : public FrameSupply {
  public:
    PictureSupply(const Timeline& timeline, MediaLibrary& library)
        : timeline_(timeline), library_(library) {}

    RawVideo format() const override {
        return {"RGBx", timeline_.boxWidth, timeline_.boxHeight, PictureFrameRate, 1};
    }

    GstBuffer* frameAt(double ms) override {
        const std::string& path = timeline_.pictureAt(ms);
        auto& frame = composed_[path];
        if (!frame)
            frame = compose(path);
        return frame.get();
    }

  private:
    std::shared_ptr<GstBuffer> compose(const std::string& path) {
        const int width = timeline_.boxWidth;
        const int height = timeline_.boxHeight;
        const std::size_t rowBytes = static_cast<std::size_t>(width) * RgbxBytes;
        GstBuffer* buffer = gst_buffer_new_allocate(nullptr, rowBytes * height, nullptr);
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_WRITE);
        std::memset(map.data, 0, map.size);
        if (!path.empty()) {
            const Frame& picture = library_.picture(path);
            const std::vector<std::uint8_t> pixels = packedPixels(picture, RgbxBytes);
            const std::size_t copyBytes =
                static_cast<std::size_t>(std::min(picture.width, width)) * RgbxBytes;
            for (int row = 0; row < std::min(picture.height, height); ++row)
                std::memcpy(
                    map.data + row * rowBytes,
                    pixels.data() + static_cast<std::size_t>(row) * picture.width * RgbxBytes,
                    copyBytes);
        }
        gst_buffer_unmap(buffer, &map);
        return std::shared_ptr<GstBuffer>(buffer, gst_buffer_unref);
    }

    const Timeline& timeline_;
    MediaLibrary& library_;
    std::map<std::string, std::shared_ptr<GstBuffer>> composed_;
};

std::unique_ptr<FrameSupply> frameSupply(const Timeline& timeline, MediaLibrary& library) {
    if (timeline.video)
        return std::make_unique<VideoSupply>(timeline.videoTrack);
    return std::make_unique<PictureSupply>(timeline, library);
}

std::vector<const Pcm*> narrationSounds(const Timeline& timeline, MediaLibrary& library) {
    std::vector<const Pcm*> sounds;
    for (const DeviceTrack& n : timeline.narrations)
        sounds.push_back(library.media(n.path).sound.get());
    return sounds;
}

GstClockTime nanoseconds(std::int64_t ms) {
    return static_cast<GstClockTime>(ms) * GST_MSECOND;
}

std::vector<Chapter> chapters(const Timeline& timeline) {
    std::vector<Chapter> result;
    for (std::size_t k = 0; k < timeline.narrations.size(); ++k) {
        const std::int64_t stop =
            k + 1 < timeline.narrations.size() ? timeline.narrationStartMs(k + 1) : timeline.endMs;
        result.push_back(
            {timeline.clipTitle(k), nanoseconds(timeline.narrationStartMs(k)), nanoseconds(stop)});
    }
    return result;
}

std::string vttTime(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(ms / 3600000), static_cast<long long>(ms / 60000 % 60),
                  static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000));
    return text;
}

// Frames and sound interleaved frame by frame, so that neither encoder runs far ahead.
void encode(const Timeline& timeline, MediaLibrary& library, const std::string& path,
            Container container, const ProgressReport& progress) {
    auto supply = frameSupply(timeline, library);
    const RawVideo format = supply->format();
    const SoundMix mix(timeline, narrationSounds(timeline, library));
    MediaWriter writer(path, container, format, timeline.asana, chapters(timeline));
    const double frameMs = 1000.0 * format.rateDenominator / format.rateNumerator;
    const auto frames =
        std::max<std::int64_t>(1, std::llround(static_cast<double>(timeline.endMs) / frameMs));
    const auto soundFrames = std::llround(static_cast<double>(timeline.endMs) * AudioRate / 1000.0);
    std::int64_t soundDone = 0;
    for (std::int64_t k = 0; k < frames; ++k) {
        writer.pushFrame(supply->frameAt(static_cast<double>(k) * frameMs), k);
        const std::int64_t soundUntil =
            k + 1 == frames ? soundFrames
                            : std::min<std::int64_t>(
                                  soundFrames, std::llround((k + 1) * frameMs * AudioRate / 1000));
        if (soundUntil > soundDone) {
            writer.pushSound(mix.samples(soundDone, soundUntil), soundDone);
            soundDone = soundUntil;
        }
        if (progress)
            progress(static_cast<double>(k + 1) / static_cast<double>(frames));
    }
    writer.finish();
}

}  // namespace

std::string chaptersPath(const std::string& outPath) {
    return std::filesystem::path(outPath).replace_extension(".vtt").string();
}

std::string webVttChapters(const Timeline& timeline) {
    std::string text = "WEBVTT\n";
    const std::vector<Chapter> marks = chapters(timeline);
    for (std::size_t k = 0; k < marks.size(); ++k) {
        const auto from = static_cast<std::int64_t>(marks[k].start / GST_MSECOND);
        const auto to = static_cast<std::int64_t>(marks[k].stop / GST_MSECOND);
        text += "\n" + std::to_string(k + 1) + "\n" + vttTime(from) + " --> " + vttTime(to) + "\n" +
                marks[k].title + "\n";
    }
    return text;
}

void renderTimeline(const Timeline& timeline, MediaLibrary& library, const std::string& outPath,
                    Container container, const ProgressReport& progress) {
    OutputFile media(outPath);
    OutputFile vtt(chaptersPath(outPath));
    encode(timeline, library, media.temporaryPath(), container, progress);
    vtt.write(webVttChapters(timeline));
    media.commit();
    vtt.commit();
}

}  // namespace tessaro::render
