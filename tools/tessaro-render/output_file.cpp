// SPDX-License-Identifier: MIT
#include "tools/tessaro-render/output_file.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <tessaro/command_service.h>
#include <tessaro/error.h>

namespace tessaro::render {
namespace {

// The temporary files not yet committed, for the signal handler: fixed storage, since
// a handler may neither allocate nor lock.
constexpr std::size_t Slots = 8;
constexpr std::size_t PathBytes = 4096;
std::array<std::array<char, PathBytes>, Slots> pendingPaths{};
std::array<volatile sig_atomic_t, Slots> pendingUsed{};

int claimSlot(const std::string& path) {
    if (path.size() >= PathBytes)
        return -1;
    for (std::size_t i = 0; i < Slots; ++i) {
        if (pendingUsed[i] == 0) {
            std::memcpy(pendingPaths[i].data(), path.c_str(), path.size() + 1);
            pendingUsed[i] = 1;
            return static_cast<int>(i);
        }
    }
    return -1;
}

void releaseSlot(int slot) {
    if (slot >= 0)
        pendingUsed[static_cast<std::size_t>(slot)] = 0;
}

void removePendingAndExit(int signalNumber) {
    for (std::size_t i = 0; i < Slots; ++i)
        if (pendingUsed[i] != 0)
            ::unlink(pendingPaths[i].data());
    ::_exit(128 + signalNumber);
}

Error cannotWrite(const std::string& path, int error) {
    return Error(media::errors::InternalError,
                 "cannot write " + path + ": " + std::strerror(error));
}

}  // namespace

OutputFile::OutputFile(const std::string& path) : path_(path) {
    const std::filesystem::path target(path);
    const std::filesystem::path folder =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    std::string pattern = (folder / ("." + target.filename().string() + ".partial-XXXXXX"));
    const int descriptor = ::mkstemp(pattern.data());
    if (descriptor < 0)
        throw cannotWrite(path, errno);
    ::close(descriptor);
    temporary_ = pattern;
    slot_ = claimSlot(temporary_);
}

OutputFile::~OutputFile() {
    if (!committed_)
        ::unlink(temporary_.c_str());
    releaseSlot(slot_);
}

void OutputFile::commit() {
    // mkstemp creates the file private; the result gets the mode of any new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temporary_.c_str(), 0666 & ~mask);
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
        throw cannotWrite(path_, errno);
    committed_ = true;
}

void removeOutputFilesOnInterrupt() {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP})
        ::signal(signalNumber, removePendingAndExit);
}

void OutputFile::write(const std::string& text) {
    std::ofstream out(temporary_, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out)
        throw cannotWrite(path_, errno);
}

void writeTextFile(const std::string& path, const std::string& text) {
    OutputFile file(path);
    file.write(text);
    file.commit();
}

}  // namespace tessaro::render
