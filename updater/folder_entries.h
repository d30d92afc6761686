// SPDX-License-Identifier: MIT
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace mendrick {

// An open file descriptor, closed with its owner.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a late write error, which close reports, is not lost.
    bool close();

  private:
    int fd_;
};

// Opens the folder at `path` as a handle for *at() calls (O_PATH): symbolic links on the
// way to it are followed this once; every name later taken relative to the handle stays
// inside that folder, whatever happens to `path` meanwhile. Invalid on failure, errno set.
Descriptor openFolder(const std::string& path);

// The name of the entry of `folder` that `name` stands for: `name` itself when an entry of
// that name exists, else the first entry that matches it case-blind, else `name`.
std::string entryName(int folder, std::string_view name);

// Why an entry is no regular file, in words for a message ("Is a directory", "it is a
// named pipe, not a file"), or nothing for a regular file.
std::optional<std::string> notAFile(mode_t mode);

// A regular file opened for reading, with what fstat said of it.
struct OpenedFile {
    Descriptor fd;
    struct stat info {};
};

// Opens the regular file `name` of `folder` without following a symbolic link and without
// waiting: the entry is looked at first, so that a named pipe, a device, a socket or a
// folder is refused by name and never opened, and what was opened is checked again with
// fstat. Files over `largest` bytes are refused too. On failure, the reason in words.
std::pair<std::optional<OpenedFile>, std::string> openRegularFile(int folder,
                                                                  const std::string& name,
                                                                  off_t largest);

}  // namespace mendrick
