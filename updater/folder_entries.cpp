// SPDX-License-Identifier: MIT
#include "updater/folder_entries.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/paths/paths.h"

namespace mendrick {

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

Descriptor::~Descriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

bool Descriptor::close() {
    return ::close(std::exchange(fd_, -1)) == 0;
}

Descriptor openFolder(const std::string& path) {
    return Descriptor(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

std::string entryName(int folder, std::string_view name) {
    const std::string asWritten(name);
    struct stat info;
    if (::fstatat(folder, asWritten.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0)
        return asWritten;
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0)
        return asWritten;
    DIR* entries = ::fdopendir(listed);
    if (!entries) {
        ::close(listed);
        return asWritten;
    }
    const std::string wanted = tessaro::paths::foldCase(name);
    std::string found = asWritten;
    while (const dirent* entry = ::readdir(entries)) {
        if (tessaro::paths::foldCase(entry->d_name) == wanted) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(entries);
    return found;
}

std::optional<std::string> notAFile(mode_t mode) {
    switch (mode & S_IFMT) {
        case S_IFREG:
            return std::nullopt;
        case S_IFDIR:
            return std::string(std::strerror(EISDIR));
        case S_IFIFO:
            return std::string("it is a named pipe, not a file");
        case S_IFCHR:
        case S_IFBLK:
            return std::string("it is a device, not a file");
        case S_IFSOCK:
            return std::string("it is a socket, not a file");
        case S_IFLNK:
            return std::string("it is a symbolic link, not a file");
    }
    return std::string("it is not a file");
}

std::pair<std::optional<OpenedFile>, std::string> openRegularFile(int folder,
                                                                  const std::string& name,
                                                                  off_t largest) {
    struct stat entry;
    if (::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
        return {std::nullopt, std::strerror(errno)};
    if (const std::optional<std::string> reason = notAFile(entry.st_mode))
        return {std::nullopt, *reason};
    OpenedFile file;
    file.fd = Descriptor(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.fd.valid() || ::fstat(file.fd.get(), &file.info) != 0)
        return {std::nullopt, std::strerror(errno)};
    if (const std::optional<std::string> reason = notAFile(file.info.st_mode))
        return {std::nullopt, *reason};
    if (file.info.st_size > largest)
        return {std::nullopt, "it is larger than " + std::to_string(largest >> 20) + " MiB"};
    return {std::optional<OpenedFile>(std::move(file)), std::string()};
}

}  // namespace mendrick
