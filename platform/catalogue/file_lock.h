// SPDX-License-Identifier: MIT
#pragma once

#include <sys/types.h>

#include <compare>
#include <memory>
#include <string>

namespace tessaro::catalogue {

// Which file a path names, whatever path was used to reach it.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    auto operator<=>(const FileIdentity&) const = default;
};

struct LockedFile;

// One handle's hold on a catalogue file. All holds of this process on the same file share
// one descriptor and one advisory lock (flock): shared while every hold is shared,
// exclusive while any hold is exclusive. So holds of this process never exclude each
// other, and another process is excluded exactly as the strongest hold here demands.
// The lock is released with the last hold, and never passes to a forked child.
class FileHold {
  public:
    // Opens and locks resolvedPath. Throws tessaro::Error 3024 when the file is missing
    // or cannot be opened (the text says which), 3045 when another process's lock
    // conflicts; texts name displayPath.
    FileHold(const std::string& resolvedPath, const std::string& displayPath, bool exclusive);
    ~FileHold();
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

    // A read-only descriptor of the file, valid while the hold lives.
    int descriptor() const;
    FileIdentity identity() const;

  private:
    std::shared_ptr<LockedFile> file_;
    bool exclusive_;
};

}  // namespace tessaro::catalogue
