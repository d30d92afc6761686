// SPDX-License-Identifier: MIT
#include "platform/catalogue/catalogue_file.h"

#include <unistd.h>

#include <map>
#include <mutex>

#include <tessaro/catalogue.h>
#include "platform/paths/paths.h"

namespace tessaro::catalogue {
namespace {

void checkPassword(const JetHeader& header, const std::string& displayPath,
                   std::string_view password) {
    if (!header.password.empty() && header.password != password)
        throw Error(errors::NotValidPassword,
                    "wrong password for catalogue file '" + displayPath + "'");
}

// Readers of files some handle of this process holds open, so that opening the same
// file again costs no catalogue read. A forked child reads through readers of its own.
// A new reader opens the very file the hold has locked, even if its path has been given
// to another file since, and reads its catalogue only once the password matched.
std::shared_ptr<JetReader> sharedReader(const FileHold& hold, const std::string& displayPath,
                                        std::string_view password) {
    static std::mutex mutex;
    static std::map<std::pair<pid_t, FileIdentity>, std::weak_ptr<JetReader>> readers;
    std::lock_guard lock(mutex);
    std::erase_if(readers, [](const auto& entry) { return entry.second.expired(); });
    std::weak_ptr<JetReader>& slot = readers[{::getpid(), hold.identity()}];
    std::shared_ptr<JetReader> reader = slot.lock();
    if (reader) {
        checkPassword(reader->header(), displayPath, password);
        return reader;
    }
    auto pages = std::make_unique<JetPages>("/proc/self/fd/" + std::to_string(hold.descriptor()),
                                            displayPath);
    checkPassword(pages->header(), displayPath, password);
    reader = std::make_shared<JetReader>(std::move(pages), displayPath);
    slot = reader;
    return reader;
}

}  // namespace

CatalogueFile::CatalogueFile(std::string_view path, bool exclusive, std::string_view password)
    : displayPath_(path),
      resolvedPath_(paths::resolve(path)),
      hold_(resolvedPath_, displayPath_, exclusive),
      reader_(sharedReader(hold_, displayPath_, password)) {}

}  // namespace tessaro::catalogue
