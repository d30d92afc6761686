// SPDX-License-Identifier: MIT
#include <tessaro/module_folder.h>

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tessaro::host {
namespace {

std::string withoutTrailingSeparators(std::string folder) {
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    return folder;
}

// Any symbol of this file lies in the module that was loaded with it.
void anchor() {}

std::string loadedModuleFolder() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&anchor), &info) == 0 || info.dli_fname == nullptr)
        return {};
    std::error_code error;
    auto file = std::filesystem::weakly_canonical(info.dli_fname, error);
    if (error)
        file = std::filesystem::path(info.dli_fname);
    return withoutTrailingSeparators(file.parent_path().string());
}

class LibraryModuleFolder : public ModuleFolder {
  public:
    std::string path() const override {
        if (const char* overridden = std::getenv("TESSARO_MODULE_DIR"); overridden && *overridden)
            return withoutTrailingSeparators(overridden);
        return loaded_;
    }

  private:
    std::string loaded_ = loadedModuleFolder();
};

}  // namespace

ModuleFolder& libraryModuleFolder() {
    static LibraryModuleFolder folder;
    return folder;
}

}  // namespace tessaro::host
