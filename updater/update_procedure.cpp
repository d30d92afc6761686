// SPDX-License-Identifier: MIT
#include "updater/update_procedure.h"

#include <array>
#include <optional>

#include "platform/paths/paths.h"
#include "updater/install_probe.h"
#include "updater/profile_string.h"
#include "updater/safe_replace.h"

namespace mendrick {
namespace {

constexpr std::string_view kTitle = "Veltrana";
constexpr std::string_view kNothingRecorded = "Veltrana is Not Installed in Your System";
constexpr std::string_view kMainProgramMissing = "Veltrana is not Installed on your Computer!";
constexpr std::string_view kUpdated = "Veltrana, Updated Successfully";
constexpr std::string_view kNotUpdated = "Veltrana could not be updated: ";

// The main program as the record names it, and as it is named on Linux, where programs
// carry no ".exe": either one marks an installation.
constexpr std::array<std::string_view, 2> kMainProgram = {"\\quillon", "\\quillon.exe"};
constexpr std::string_view kControlLibrary = "\\Tessaro.ocx";

std::string hostPath(const std::string& folder, std::string_view file) {
    return tessaro::paths::resolve(folder + std::string(file));
}

bool mainProgramPresent(const std::string& destination) {
    for (const std::string_view name : kMainProgram) {
        if (pathExists(hostPath(destination, name)))
            return true;
    }
    return false;
}

// Why the library beside the updater cannot go in, if it cannot. A file that cannot be
// read at all is left to the copy, which names the system's reason.
std::optional<std::string> carriedLibraryFault(const LibraryFile& carried,
                                               const ElfMachine& machine) {
    using Kind = LibraryFile::Kind;
    switch (carried.kind) {
        case Kind::unreadable:
            return std::nullopt;
        case Kind::windows:
            return "this update carries a Windows library, not the Linux control";
        case Kind::elf:
            if (carried.machine != machine)
                return "this update carries the control for " + describe(carried.machine) +
                       "; this computer needs the one for " + describe(machine);
            if (!carried.tessaroControl)
                return std::string("the library this update carries is no Tessaro control");
            return std::nullopt;
        case Kind::empty:
        case Kind::other:
            break;
    }
    return std::string("the file this update carries is no Linux library");
}

// Why the installed library must stay, if it must: the installation loads libraries of
// another kind, which the one carried here cannot stand in for. A missing, empty or
// damaged file is replaced: the update repairs it.
std::optional<std::string> installedLibraryFault(const LibraryFile& installed,
                                                 const ElfMachine& machine) {
    if (installed.kind == LibraryFile::Kind::windows)
        return std::string(
            "the installed control is a Windows library; this update carries "
            "the Linux one");
    if (installed.kind == LibraryFile::Kind::elf && installed.machine != machine)
        return "the installed control is a library for " + describe(installed.machine) +
               "; this update carries the one for " + describe(machine);
    return std::nullopt;
}

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
    if (!mainProgramPresent(destination)) {
        ui.showMessage(kTitle, kMainProgramMissing);
        return Outcome::notInstalled;
    }

    ui.yield();
    const std::string source = hostPath(setup.ownFolder, kControlLibrary);
    const std::string target = hostPath(destination, kControlLibrary);
    std::optional<std::string> fault =
        carriedLibraryFault(inspectLibrary(source, setup.machine), setup.machine);
    if (!fault)
        fault = installedLibraryFault(inspectLibrary(target, setup.machine), setup.machine);
    if (fault) {
        ui.showMessage(kTitle, std::string(kNotUpdated) + *fault);
        return Outcome::refused;
    }
    if (const std::optional<std::string> failure = replaceFile(source, target)) {
        ui.showMessage(kTitle, std::string(kNotUpdated) + *failure);
        return Outcome::copyFailed;
    }
    ui.showMessage(kTitle, kUpdated);
    return Outcome::updated;
}

}  // namespace mendrick
