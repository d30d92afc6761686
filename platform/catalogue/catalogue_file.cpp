// SPDX-License-Identifier: MIT
#include "platform/catalogue/catalogue_file.h"

#include <unistd.h>

#include <map>
#include <mutex>

#include <tessaro/catalogue.h>
#include "platform/catalogue/jet_damage.h"
#include "platform/catalogue/jet_header.h"
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

std::optional<JetHeader> readHeader(int fd, const std::string& displayPath) {
    try {
        return readJetHeader(fd);
    } catch (const Damage& damage) {
        throw Error(errors::UnrecognizedDatabaseFormat,
                    "catalogue file '" + displayPath + "' is damaged: " + damage.what());
    }
}

void checkHeader(int fd, const std::string& displayPath, std::string_view password) {
    const std::optional<JetHeader> header = readHeader(fd, displayPath);
    if (!header)
        throw Error(errors::UnrecognizedDatabaseFormat,
                    "'" + displayPath + "' is not a Jet database or is damaged");
    if (!header->password.empty() && header->password != password)
        throw Error(errors::NotValidPassword,
                    "wrong password for catalogue file '" + displayPath + "'");
}

// Readers of files some handle of this process holds open, so that opening the same
// file again costs no catalogue read. A forked child reads through readers of its own.
// A new reader opens the very file the hold has locked and checked, even if its path
// has been given to another file since.
std::shared_ptr<MdbReader> sharedReader(const FileHold& hold, const std::string& displayPath) {
    static std::mutex mutex;
    static std::map<std::pair<pid_t, FileIdentity>, std::weak_ptr<MdbReader>> readers;
    std::lock_guard lock(mutex);
    std::erase_if(readers, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<MdbReader>& slot = readers[{::getpid(), hold.identity()}];
    std::shared_ptr<MdbReader> reader = slot.lock();
    if (!reader) {
        reader = std::make_shared<MdbReader>("/proc/self/fd/" + std::to_string(hold.descriptor()),
                                             displayPath);
        slot = reader;
    }
    return reader;
}

}  // namespace

CatalogueFile::CatalogueFile(std::string_view path, bool exclusive, std::string_view password)
    : displayPath_(path),
      resolvedPath_(paths::resolve(path)),
      hold_(resolvedPath_, displayPath_, exclusive) {
    checkHeader(hold_.descriptor(), displayPath_, password);
    reader_ = sharedReader(hold_, displayPath_);
}

}  // namespace tessaro::catalogue
