// SPDX-License-Identifier: MIT
#include "platform/catalogue/writer/file_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/catalogue/writer/catalogue_writer.h"

namespace tessaro::catalogue::jet3 {
namespace {

[[noreturn]] void fail(const std::string& path, const char* step, int error) {
    throw Error(errors::CatalogueWriteFailed,
                "cannot write \"" + path + "\": " + step + ": " + std::strerror(error));
}

bool writeAll(int fd, const Bytes& contents) {
    std::size_t written = 0;
    while (written < contents.size()) {
        const ssize_t n = ::write(fd, contents.data() + written, contents.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? EIO : errno;
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

void writeFileAtomically(const std::string& path, const Bytes& contents) {
    const std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        fail(path, "create temporary file", errno);
    }
    const std::string temporary(name.data());
    const char* failedStep = nullptr;
    int error = 0;
    const auto step = [&](bool succeeded, const char* what) {
        if (!succeeded && !failedStep) {
            failedStep = what;
            error = errno;
        }
    };
    step(writeAll(fd, contents), "write");
    step(failedStep || ::fchmod(fd, 0644) == 0, "set permissions");
    step(failedStep || ::fsync(fd) == 0, "flush");
    step(::close(fd) == 0, "close");
    step(failedStep || ::rename(temporary.c_str(), path.c_str()) == 0, "rename");
    if (failedStep) {
        ::unlink(temporary.c_str());
        fail(path, failedStep, error);
    }
}

}  // namespace tessaro::catalogue::jet3
