// SPDX-License-Identifier: MIT
#include "updater/safe_replace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <string_view>

#include "updater/folder_entries.h"
#include "updater/held_signals.h"

namespace mendrick {
namespace {

// A new file that nobody may still be writing: older than this is left over.
constexpr std::time_t LeftOverAge = 60 * 60;

struct Failure {
    std::string step;
    int error;
};

std::optional<ReplaceFailure> failed(const Failure& failure) {
    return ReplaceFailure{failure.step + ": " + std::strerror(failure.error), false};
}

std::string randomName() {
    static constexpr std::string_view Letters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::array<unsigned char, 6> bytes{};
    if (::getrandom(bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size())) {
        const auto seed = static_cast<unsigned>(::getpid() ^ std::time(nullptr) ^ ::clock());
        for (std::size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
    }
    std::string name = NewFilePrefix;
    for (const unsigned char byte : bytes)
        name += Letters[byte % Letters.size()];
    return name;
}

bool isOurName(std::string_view name) {
    return name.starts_with(NewFilePrefix) &&
           name.size() == std::string_view(NewFilePrefix).size() + 6;
}

// Removes the new files a killed run left in the folder: ours by name, by age, and by
// owner, this user or, for root, who owns the library (root hands its new file over).
void removeLeftOvers(int folder, const std::string& target) {
    struct stat installed;
    const uid_t handedTo =
        ::geteuid() == 0 && ::fstatat(folder, target.c_str(), &installed, AT_SYMLINK_NOFOLLOW) == 0
            ? installed.st_uid
            : ::geteuid();
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0)
        return;
    DIR* entries = ::fdopendir(listed);
    if (!entries) {
        ::close(listed);
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(entries)) {
        struct stat info;
        if (isOurName(entry->d_name) &&
            ::fstatat(listed, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode) && (info.st_uid == ::geteuid() || info.st_uid == handedTo) &&
            now - info.st_mtime > LeftOverAge)
            ::unlinkat(listed, entry->d_name, 0);
    }
    ::closedir(entries);
}

// The new file: unnamed (O_TMPFILE) until it is given a name just before the rename, so a
// run killed while writing it leaves nothing; a named one where the file system cannot.
class NewFile {
  public:
    explicit NewFile(int folder) : folder_(folder) {
        // Naming an unnamed file later goes through /proc.
        if (::access("/proc/self/fd", X_OK) == 0) {
            fd_ = Descriptor(::openat(folder, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
            if (fd_.valid() || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
                return;
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = randomName();
            fd_ = Descriptor(::openat(folder, name.c_str(),
                                      O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (fd_.valid()) {
                name_ = std::move(name);
                return;
            }
            if (errno != EEXIST)
                return;
        }
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;
    ~NewFile() {
        if (!name_.empty())
            ::unlinkat(folder_, name_.c_str(), 0);
    }

    int fd() const { return fd_.get(); }
    bool valid() const { return fd_.valid(); }
    bool close() { return fd_.close(); }

    // Gives an unnamed file its name; call before close.
    bool name() {
        if (!name_.empty())
            return true;
        const std::string self = "/proc/self/fd/" + std::to_string(fd_.get());
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = randomName();
            if (::linkat(AT_FDCWD, self.c_str(), folder_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                name_ = std::move(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    bool renameTo(const std::string& target) {
        if (::renameat(folder_, name_.c_str(), folder_, target.c_str()) != 0)
            return false;
        name_.clear();
        return true;
    }

  private:
    int folder_;
    Descriptor fd_;
    std::string name_;
};

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

std::optional<Failure> copyContents(const Replacement& r, int to) {
    std::array<char, 64 * 1024> chunk;
    off_t offset = 0;
    for (;;) {
        const ssize_t got = ::pread(r.source, chunk.data(), chunk.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Failure{"cannot read " + r.sourceShown, errno};
        if (got == 0)
            return std::nullopt;
        offset += got;
        if (offset > r.largest)
            return Failure{"cannot read " + r.sourceShown, EFBIG};
        if (!writeAll(to, chunk.data(), static_cast<std::size_t>(got)))
            return Failure{"cannot write the new copy of " + r.targetShown, errno};
    }
}

// The replaced file's permission bits and owner go to the new file, or the source's bits
// when there is no regular file to replace. The special bits never do: a library needs
// none, and root must not hand out a setuid file it was never asked for.
std::optional<Failure> takeOverModeAndOwner(const Replacement& r, int copy) {
    struct stat info;
    const bool replacing = ::fstatat(r.folder, r.target.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                           S_ISREG(info.st_mode);
    if (!replacing && ::fstat(r.source, &info) != 0)
        info.st_mode = 0644;
    if (replacing && ::geteuid() == 0 && ::fchown(copy, info.st_uid, info.st_gid) != 0)
        return Failure{"cannot set the owner of the new copy of " + r.targetShown, errno};
    if (::fchmod(copy, info.st_mode & 0777) != 0)
        return Failure{"cannot set the permissions of the new copy of " + r.targetShown, errno};
    return std::nullopt;
}

// Makes the rename itself durable. The file is already in place when this runs, so a
// failure here is not a failed update.
void syncFolder(int folder) {
    const Descriptor listed(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (listed.valid())
        ::fsync(listed.get());
}

}  // namespace

std::optional<ReplaceFailure> replaceFile(const Replacement& r) {
    removeLeftOvers(r.folder, r.target);
    const HeldSignals signals;
    NewFile copy(r.folder);
    if (!copy.valid())
        return failed({"cannot create a new file in " + r.folderShown, errno});
    if (const auto failure = copyContents(r, copy.fd()))
        return failed(*failure);
    if (const auto failure = takeOverModeAndOwner(r, copy.fd()))
        return failed(*failure);
    if (::fsync(copy.fd()) != 0)
        return failed({"cannot write the new copy of " + r.targetShown, errno});
    if (r.check) {
        if (std::optional<std::string> refusal = r.check(copy.fd()))
            return ReplaceFailure{std::move(*refusal), true};
    }
    if (signals.interrupted())
        return failed({"cannot replace " + r.targetShown, EINTR});
    if (!copy.name())
        return failed({"cannot create a new file in " + r.folderShown, errno});
    if (!copy.close())
        return failed({"cannot write the new copy of " + r.targetShown, errno});
    if (!copy.renameTo(r.target))
        return failed({"cannot replace " + r.targetShown, errno});
    syncFolder(r.folder);
    return std::nullopt;
}

}  // namespace mendrick
