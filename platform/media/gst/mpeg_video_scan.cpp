// SPDX-License-Identifier: MIT
#include "platform/media/gst/mpeg_video_scan.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

namespace tessaro::media::gst {
namespace {

using Bytes = const std::uint8_t*;

constexpr std::uint8_t PackStart = 0xBA;
constexpr std::uint8_t SystemHeader = 0xBB;
constexpr std::uint8_t StreamMap = 0xBC;
constexpr std::uint8_t ProgramEnd = 0xB9;
constexpr std::uint8_t SequenceHeader = 0xB3;
constexpr std::uint8_t PictureStart = 0x00;
constexpr std::uint8_t Extension = 0xB5;
constexpr std::uint8_t StreamTypeH264 = 0x1B;
constexpr double SystemClockHz = 90000;

bool isVideoStream(std::uint8_t id) {
    return (id & 0xF0) == 0xE0;
}

double frameRateOfCode(unsigned code) {
    static constexpr double Rates[] = {0,  24000.0 / 1001, 24, 25, 30000.0 / 1001, 30,
                                       50, 60000.0 / 1001, 60};
    return code < std::size(Rates) ? Rates[code] : 0;
}

// The video bytes in order, however the container cut them into packets: start codes are
// found across packet boundaries, and the few bytes a header needs after its code are
// gathered before it is read.
class VideoStream {
  public:
    explicit VideoStream(MpegVideoScan& scan) : scan_(scan) {}

    void feed(Bytes data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i)
            take(data[i]);
    }

    std::int64_t frames() const { return framePictures_ + fieldPictures_ / 2; }

  private:
    static constexpr std::size_t HeaderBytes = 4;

    void take(std::uint8_t byte) {
        if (pending_) {
            header_[gathered_++] = byte;
            if (gathered_ == HeaderBytes) {
                readHeader(*pending_);
                pending_.reset();
            }
        }
        if (recent_ == 0x000001) {
            startCode(byte);
            recent_ = 0xFFFFFF;
            return;
        }
        recent_ = ((recent_ << 8) | byte) & 0xFFFFFF;
    }

    void startCode(std::uint8_t code) {
        if (!decided_)
            decide(code);
        if (scan_.codec != MpegVideoScan::Codec::MpegVideo)
            return;
        if (code == PictureStart) {
            ++framePictures_;
        } else if (code == SequenceHeader || code == Extension) {
            pending_ = code;
            gathered_ = 0;
        }
    }

    // The stream's first start code tells MPEG video (a sequence header) from H.264 (a
    // network abstraction unit: delimiter, parameter set, supplement or slice).
    void decide(std::uint8_t code) {
        decided_ = true;
        const unsigned nalType = code & 0x1F;
        if (code == SequenceHeader)
            scan_.codec = MpegVideoScan::Codec::MpegVideo;
        else if ((code & 0x80) == 0 &&
                 (nalType == 1 || nalType == 5 || nalType == 6 || nalType == 7 || nalType == 9))
            scan_.codec = MpegVideoScan::Codec::H264;
        else
            scan_.codec = MpegVideoScan::Codec::Unknown;
    }

    void readHeader(std::uint8_t code) {
        if (code == SequenceHeader) {
            if (scan_.frameRate == 0)
                scan_.frameRate = frameRateOfCode(header_[3] & 0x0F);
            return;
        }
        // A picture coding extension of a field picture: two of them make one frame.
        const bool pictureCoding = (header_[0] >> 4) == 8;
        const unsigned structure = header_[2] & 0x03;
        if (pictureCoding && (structure == 1 || structure == 2) && framePictures_ > 0) {
            --framePictures_;
            ++fieldPictures_;
        }
    }

    MpegVideoScan& scan_;
    std::uint32_t recent_ = 0xFFFFFF;
    bool decided_ = false;
    std::optional<std::uint8_t> pending_;
    std::uint8_t header_[HeaderBytes] = {};
    std::size_t gathered_ = 0;
    std::int64_t framePictures_ = 0;
    std::int64_t fieldPictures_ = 0;
};

std::uint16_t read16(Bytes p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

bool isStartCode(Bytes data, std::size_t size, std::size_t at) {
    return at + 4 <= size && data[at] == 0 && data[at + 1] == 0 && data[at + 2] == 1;
}

// The system clock reference of a pack header (MPEG-1 or MPEG-2 syntax), and its size.
struct Pack {
    std::uint64_t clock = 0;
    std::size_t size = 0;
};

std::optional<Pack> readPack(Bytes data, std::size_t size, std::size_t at) {
    if (at + 14 > size)
        return std::nullopt;
    Bytes p = data + at + 4;
    if ((p[0] & 0xC0) == 0x40) {
        const std::uint64_t clock =
            (std::uint64_t(p[0] & 0x38) << 27) | (std::uint64_t(p[0] & 0x03) << 28) |
            (std::uint64_t(p[1]) << 20) | (std::uint64_t(p[2] & 0xF8) << 12) |
            (std::uint64_t(p[2] & 0x03) << 13) | (std::uint64_t(p[3]) << 5) |
            (std::uint64_t(p[4]) >> 3);
        return Pack{clock, 14u + (p[9] & 0x07)};
    }
    if ((p[0] & 0xF0) == 0x20) {
        const std::uint64_t clock = (std::uint64_t(p[0] & 0x0E) << 29) |
                                    (std::uint64_t(p[1]) << 22) |
                                    (std::uint64_t(p[2] & 0xFE) << 14) |
                                    (std::uint64_t(p[3]) << 7) | (std::uint64_t(p[4]) >> 1);
        return Pack{clock, 12};
    }
    return std::nullopt;
}

// Where the payload of a packet starts (after the MPEG-1 or MPEG-2 packet header), or
// nullopt when the header does not fit the packet.
std::optional<std::size_t> payloadOffset(Bytes packet, std::size_t size) {
    std::size_t at = 6;
    if (at < size && (packet[at] & 0xC0) == 0x80) {
        if (at + 3 > size)
            return std::nullopt;
        at += 3 + packet[at + 2];
        return at <= size ? std::optional(at) : std::nullopt;
    }
    while (at < size && packet[at] == 0xFF)
        ++at;
    if (at < size && (packet[at] & 0xC0) == 0x40)
        at += 2;
    if (at >= size)
        return std::nullopt;
    if ((packet[at] & 0xF0) == 0x20)
        at += 5;
    else if ((packet[at] & 0xF0) == 0x30)
        at += 10;
    else
        at += 1;
    return at <= size ? std::optional(at) : std::nullopt;
}

// A stream map naming H.264 for a video stream settles the codec whatever its bytes say.
bool mapNamesH264(Bytes packet, std::size_t size) {
    if (size < 12)
        return false;
    std::size_t at = 10 + read16(packet + 8);
    if (at + 2 > size)
        return false;
    const std::size_t end = std::min(size, at + 2 + read16(packet + at));
    for (at += 2; at + 4 <= end; at += 4 + read16(packet + at + 2)) {
        if (isVideoStream(packet[at + 1]) && packet[at] == StreamTypeH264)
            return true;
    }
    return false;
}

class ProgramStreamScan {
  public:
    ProgramStreamScan(Bytes data, std::size_t size, MpegVideoScan& scan)
        : data_(data), size_(size), scan_(scan), video_(scan) {}

    void run() {
        std::size_t at = 0;
        while (at + 4 <= size_) {
            if (!isStartCode(data_, size_, at)) {
                ++at;
                continue;
            }
            const std::uint8_t code = data_[at + 3];
            if (code == PackStart)
                at = pack(at);
            else if (code == ProgramEnd)
                at += 4;
            else if (code >= SystemHeader)
                at = packet(at);
            else
                ++at;
        }
        if (mappedH264_ && scan_.codec != MpegVideoScan::Codec::None)
            scan_.codec = MpegVideoScan::Codec::H264;
        scan_.frames = video_.frames();
    }

  private:
    std::size_t pack(std::size_t at) {
        const std::optional<Pack> pack = readPack(data_, size_, at);
        if (!pack)
            return at + 4;
        if (!firstClock_)
            firstClock_ = pack->clock;
        lastPackAt_ = at;
        lastClock_ = pack->clock;
        return at + pack->size;
    }

    std::size_t packet(std::size_t at) {
        if (at + 6 > size_)
            return size_;
        const std::uint8_t id = data_[at + 3];
        const std::size_t length = std::min<std::size_t>(6 + read16(data_ + at + 4), size_ - at);
        if (id == StreamMap)
            mappedH264_ = mappedH264_ || mapNamesH264(data_ + at, length);
        if (isVideoStream(id) && (!videoId_ || *videoId_ == id))
            video(at, length, id);
        return at + length;
    }

    void video(std::size_t at, std::size_t length, std::uint8_t id) {
        const std::optional<std::size_t> payload = payloadOffset(data_ + at, length);
        if (!payload)
            return;
        if (!videoId_) {
            videoId_ = id;
            scan_.firstVideoPack = lastPackAt_;
            scan_.videoLeadSeconds =
                firstClock_ ? static_cast<double>(lastClock_ - *firstClock_) / SystemClockHz : 0;
        }
        video_.feed(data_ + at + *payload, length - *payload);
    }

    Bytes data_;
    std::size_t size_;
    MpegVideoScan& scan_;
    VideoStream video_;
    std::optional<std::uint8_t> videoId_;
    std::optional<std::uint64_t> firstClock_;
    std::uint64_t lastClock_ = 0;
    std::size_t lastPackAt_ = 0;
    bool mappedH264_ = false;
};

}  // namespace

MpegVideoScan scanMpegVideo(const std::uint8_t* data, std::size_t size) {
    MpegVideoScan scan;
    if (!isStartCode(data, size, 0))
        return scan;
    if (data[3] == PackStart) {
        scan.container = MpegVideoScan::Container::ProgramStream;
        ProgramStreamScan(data, size, scan).run();
    } else if (data[3] == SequenceHeader) {
        scan.container = MpegVideoScan::Container::VideoElementaryStream;
        VideoStream video(scan);
        video.feed(data, size);
        scan.frames = video.frames();
    }
    return scan;
}

MpegVideoScan scanMpegVideo(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat status {};
    MpegVideoScan scan;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            ::madvise(mapped, size, MADV_SEQUENTIAL);
            scan = scanMpegVideo(static_cast<const std::uint8_t*>(mapped), size);
            ::munmap(mapped, size);
        }
    }
    ::close(fd);
    return scan;
}

}  // namespace tessaro::media::gst
