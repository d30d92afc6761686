// SPDX-License-Identifier: MIT
#include "platform/catalogue/file_lock.h"

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include <tessaro/catalogue.h>

namespace tessaro::catalogue {

struct LockedFile {
    int fd = -1;
    FileIdentity identity;
    int holds = 0;
    int exclusiveHolds = 0;
};

namespace {

struct Registry {
    std::mutex mutex;
    std::map<FileIdentity, std::shared_ptr<LockedFile>> files;
};

// A forked child shares the parent's open file descriptions, and with them the parent's
// locks; it drops its copies so that it neither keeps the parent's lock alive nor
// believes it holds the file itself.
Registry& registry();

void lockRegistry() {
    registry().mutex.lock();
}

void unlockRegistry() {
    registry().mutex.unlock();
}

void forgetInheritedLocks() {
    Registry& r = registry();
    for (auto& [identity, file] : r.files) {
        ::close(file->fd);
        file->fd = -1;
    }
    r.files.clear();
    r.mutex.unlock();
}

Registry& registry() {
    static Registry* instance = [] {
        ::pthread_atfork(lockRegistry, unlockRegistry, forgetInheritedLocks);
        return new Registry;
    }();
    return *instance;
}

bool tryLock(int fd, bool exclusive) {
    return ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0;
}

Error fileInUse(const std::string& displayPath) {
    return Error(errors::FileInUse,
                 "catalogue file '" + displayPath + "' is in use by another process");
}

int openForReading(const std::string& resolvedPath, const std::string& displayPath) {
    const int fd = ::open(resolvedPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0)
        return fd;
    if (errno == ENOENT || errno == ENOTDIR)
        throw Error(errors::FileNotFound, "catalogue file '" + displayPath + "' not found");
    throw Error(errors::FileNotFound,
                "catalogue file '" + displayPath + "' cannot be opened: " + std::strerror(errno));
}

}  // namespace

FileHold::FileHold(const std::string& resolvedPath, const std::string& displayPath, bool exclusive)
    : exclusive_(exclusive) {
    const int fd = openForReading(resolvedPath, displayPath);
    struct stat info {};
    ::fstat(fd, &info);
    const FileIdentity identity{info.st_dev, info.st_ino};

    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    auto found = r.files.find(identity);
    if (found == r.files.end()) {
        if (!tryLock(fd, exclusive)) {
            ::close(fd);
            throw fileInUse(displayPath);
        }
        file_ = std::make_shared<LockedFile>(LockedFile{fd, identity, 0, 0});
        r.files.emplace(identity, file_);
    } else {
        ::close(fd);
        file_ = found->second;
        if (exclusive && file_->exclusiveHolds == 0 && !tryLock(file_->fd, true)) {
            // A failed conversion may have dropped the shared lock; take it back.
            tryLock(file_->fd, false);
            throw fileInUse(displayPath);
        }
    }
    ++file_->holds;
    if (exclusive)
        ++file_->exclusiveHolds;
}

FileHold::~FileHold() {
    Registry& r = registry();
    std::lock_guard lock(r.mutex);
    --file_->holds;
    if (exclusive_)
        --file_->exclusiveHolds;
    if (file_->fd < 0)
        return;
    if (file_->holds == 0) {
        ::close(file_->fd);
        file_->fd = -1;
        r.files.erase(file_->identity);
    } else if (exclusive_ && file_->exclusiveHolds == 0) {
        tryLock(file_->fd, false);
    }
}

int FileHold::descriptor() const {
    return file_->fd;
}

FileIdentity FileHold::identity() const {
    return file_->identity;
}

}  // namespace tessaro::catalogue
