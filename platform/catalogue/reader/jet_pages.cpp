// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_pages.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <tessaro/catalogue.h>

namespace tessaro::catalogue {
namespace {

Error unreadable(const std::string& displayPath, const std::string& why) {
    return Error(errors::UnrecognizedDatabaseFormat,
                 "catalogue file '" + displayPath + "' cannot be read: " + why);
}

int openForReading(const std::string& path, const std::string& displayPath) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw unreadable(displayPath, std::strerror(errno));
    return fd;
}

// The header of the file, which is then known to be a Jet 3 or Jet 4 database; closes fd
// when it is not.
JetHeader headerOf(int fd, const std::string& displayPath) {
    std::optional<JetHeader> header;
    try {
        header = readJetHeader(fd);
    } catch (const Damage& damage) {
        ::close(fd);
        throw Error(errors::UnrecognizedDatabaseFormat,
                    "catalogue file '" + displayPath + "' is damaged: " + damage.what());
    }
    if (!header) {
        ::close(fd);
        throw Error(errors::UnrecognizedDatabaseFormat,
                    "'" + displayPath + "' is not a Jet database or is damaged");
    }
    return *header;
}

std::uint64_t sizeOf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace

JetPages::JetPages(const std::string& path, const std::string& displayPath)
    : fd_(openForReading(path, displayPath)),
      header_(headerOf(fd_, displayPath)),
      layout_(jet::layoutOf(header_.version)),
      fileBytes_(sizeOf(fd_)),
      count_(static_cast<std::uint32_t>(
          std::min<std::uint64_t>(fileBytes_ / layout_.pageSize, UINT32_MAX))),
      text_(header_.version, header_.codePage) {}

JetPages::~JetPages() {
    ::close(fd_);
}

ByteView JetPages::read(std::uint32_t number) const {
    if (number >= count_)
        throw Damage("page " + std::to_string(number) + " lies past the end of the file (" +
                     std::to_string(count_) + " pages)");
    if (last_ && last_->page() == number)
        return *last_;
    std::vector<std::uint8_t> bytes(layout_.pageSize);
    const auto at = static_cast<off_t>(std::uint64_t{number} * layout_.pageSize);
    if (::pread(fd_, bytes.data(), bytes.size(), at) != static_cast<ssize_t>(bytes.size()))
        throw Damage("page " + std::to_string(number) + " cannot be read");
    decryptPage(header_.encryptionKey, number, bytes);
    last_.emplace(number, std::move(bytes));
    return *last_;
}

}  // namespace tessaro::catalogue
