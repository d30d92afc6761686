#pragma once

#include <string>
#include <string_view>

namespace mendrick {

// The POSIX path of a Windows-style path as the installation record holds it.
// A path that starts with a drive letter ("C:\Program Files\...") is looked up below
// `drivesFolder`, where Wine keeps one entry per drive ("c:" -> ../drive_c); with an empty
// `drivesFolder` it is left as it stands. The rest follows tessaro::paths::resolve.
std::string hostPath(std::string_view windowsPath, std::string_view drivesFolder);

}  // namespace mendrick
