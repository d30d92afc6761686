#include "updater/windows_path.h"

#include "platform/paths/paths.h"

namespace mendrick {
namespace {

bool startsWithDrive(std::string_view path) {
    const char letter = path.empty() ? '\0' : path.front();
    const bool isLetter = (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
    return isLetter && path.size() >= 2 && path[1] == ':';
}

}  // namespace

std::string hostPath(std::string_view windowsPath, std::string_view drivesFolder) {
    if (!drivesFolder.empty() && startsWithDrive(windowsPath))
        return tessaro::paths::resolve(std::string(drivesFolder) + "/" + std::string(windowsPath));
    return tessaro::paths::resolve(windowsPath);
}

}  // namespace mendrick
