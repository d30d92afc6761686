// SPDX-License-Identifier: MIT
#include "updater/safe_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace mendrick {
namespace {

// A step that failed, with the errno it left.
struct Failure {
    std::string step;
    int error;
};

std::string describe(const Failure& failure) {
    return failure.step + ": " + std::strerror(failure.error);
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

  private:
    int fd_;
};

// A new file beside the target; removed again unless it was renamed into place.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string pattern) : path_(std::move(pattern)) {
        fd_ = ::mkstemp(path_.data());
        if (fd_ < 0)
            path_.clear();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a late write error (reported by close) is not lost.
    bool close() { return ::close(std::exchange(fd_, -1)) == 0; }
    bool renameTo(const std::string& target) {
        if (::rename(path_.c_str(), target.c_str()) != 0)
            return false;
        path_.clear();
        return true;
    }

  private:
    std::string path_;
    int fd_ = -1;
};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

enum class CopyResult { done, readFailed, writeFailed };

CopyResult copyContents(int from, int to) {
    std::array<char, 64 * 1024> chunk;
    for (;;) {
        const ssize_t got = ::read(from, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return CopyResult::readFailed;
        if (got == 0)
            return CopyResult::done;
        if (!writeAll(to, chunk.data(), static_cast<std::size_t>(got)))
            return CopyResult::writeFailed;
    }
}

mode_t modeForCopy(const std::string& target, int source) {
    struct stat info;
    if (::stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    if (::fstat(source, &info) == 0)
        return info.st_mode & 07777;
    return 0644;
}

// Makes the rename itself durable. The file is already in place when this runs, so a
// failure here is not a failed update.
void syncFolder(const std::string& folder) {
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid())
        ::fsync(dir.get());
}

std::optional<Failure> copyOver(const std::string& source, const std::string& target) {
    Descriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.valid())
        return Failure{"cannot read " + source, errno};
    struct stat sourceInfo;
    if (::fstat(in.get(), &sourceInfo) != 0)
        return Failure{"cannot read " + source, errno};
    if (S_ISDIR(sourceInfo.st_mode))
        return Failure{"cannot read " + source, EISDIR};

    const std::string folder = folderOf(target);
    TemporaryFile copy(folder + "/." + nameOf(target) + ".XXXXXX");
    if (!copy.valid())
        return Failure{"cannot create a new file in " + folder, errno};

    switch (copyContents(in.get(), copy.fd())) {
        case CopyResult::readFailed:
            return Failure{"cannot read " + source, errno};
        case CopyResult::writeFailed:
            return Failure{"cannot write the new copy of " + target, errno};
        case CopyResult::done:
            break;
    }
    if (::fchmod(copy.fd(), modeForCopy(target, in.get())) != 0)
        return Failure{"cannot set the permissions of the new copy of " + target, errno};
    if (::fsync(copy.fd()) != 0 || !copy.close())
        return Failure{"cannot write the new copy of " + target, errno};
    if (!copy.renameTo(target))
        return Failure{"cannot replace " + target, errno};
    syncFolder(folder);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> replaceFile(const std::string& source, const std::string& target) {
    if (const std::optional<Failure> failure = copyOver(source, target))
        return describe(*failure);
    return std::nullopt;
}

}  // namespace mendrick
