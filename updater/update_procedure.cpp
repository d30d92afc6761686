#include "updater/update_procedure.h"

#include <array>

#include "updater/install_probe.h"
#include "updater/profile_string.h"
#include "updater/safe_replace.h"
#include "updater/windows_path.h"

namespace mendrick {
namespace {

constexpr std::string_view kTitle = "Veltrana";
constexpr std::string_view kNothingRecorded = "Veltrana is Not Installed in Your System";
constexpr std::string_view kMainProgramMissing = "Veltrana is not Installed on your Computer!";
constexpr std::string_view kUpdated = "Veltrana, Updated Successfully";

constexpr std::string_view kMainProgram = "\\quillon.exe";
constexpr std::string_view kControlLibrary = "\\Tessaro.ocx";

}  // namespace

Outcome runUpdate(const UpdateSetup& setup, UserInterface& ui) {
    std::array<char, 255> buffer{};
    const std::size_t count =
        readProfileString(setup.profileFile, "Quillon", "DestPath", "", buffer);
    if (count == 0) {
        ui.showMessage(kTitle, kNothingRecorded);
        return Outcome::notInstalled;
    }

    const std::string destination(buffer.data(), count);
    if (!pathExists(hostPath(destination + std::string(kMainProgram), setup.drivesFolder))) {
        ui.showMessage(kTitle, kMainProgramMissing);
        return Outcome::notInstalled;
    }

    ui.yield();
    const std::string source = hostPath(setup.ownFolder + std::string(kControlLibrary), "");
    const std::string target =
        hostPath(destination + std::string(kControlLibrary), setup.drivesFolder);
    if (const std::optional<std::string> failure = replaceFile(source, target)) {
        ui.showMessage(kTitle, *failure);
        return Outcome::copyFailed;
    }
    ui.showMessage(kTitle, kUpdated);
    return Outcome::updated;
}

}  // namespace mendrick
