// SPDX-License-Identifier: MIT
#include "updater/update_procedure.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <tuple>

#include "platform/paths/paths.h"
#include "updater/folder_entries.h"
#include "updater/profile_string.h"
#include "updater/safe_replace.h"
#include "updater/shown_text.h"
#include "updater/signature_check.h"

namespace mendrick {
namespace {

constexpr std::string_view Title = "Veltrana";
constexpr std::string_view NothingRecorded = "Veltrana is Not Installed in Your System";
constexpr std::string_view MainProgramMissing = "Veltrana is not Installed on your Computer!";
constexpr std::string_view Updated = "Veltrana, Updated Successfully";
constexpr std::string_view NotUpdated = "Veltrana could not be updated: ";

// The main program as the record names it, and as it is named on Linux, where programs
// carry no ".exe": either one marks an installation.
constexpr std::array<std::string_view, 2> MainProgram = {"quillon", "quillon.exe"};
constexpr std::string_view ControlLibrary = "Tessaro.ocx";
// An installation holding this key takes only libraries that come with a detached
// signature by it, kept beside the library as Signature.
constexpr std::string_view TrustedKey = "Tessaro.ocx.pub";
constexpr std::string_view Signature = "Tessaro.ocx.sig";

// A control library is some 15 MB; keys and signatures a few KB.
constexpr off_t LargestLibrary = off_t{256} << 20;
constexpr off_t LargestKeyFile = off_t{1} << 20;

std::string inFolder(const std::string& folder, std::string_view name) {
    return shown(folder + (folder.ends_with('/') ? "" : "/") + std::string(name));
}

// The probe matches files and folders alike; a dangling symbolic link is nothing.
bool mainProgramPresent(int folder) {
    for (const std::string_view name : MainProgram) {
        struct stat info;
        if (::fstatat(folder, entryName(folder, name).c_str(), &info, 0) == 0)
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
        case Kind::Unreadable:
            return std::nullopt;
        case Kind::Windows:
            return "this update carries a Windows library, not the Linux control";
        case Kind::Elf:
            if (carried.machine != machine)
                return "this update carries the control for " + describe(carried.machine) +
                       "; this computer needs the one for " + describe(machine);
            if (!carried.tessaroControl)
                return std::string("the library this update carries is no Tessaro control");
            return std::nullopt;
        case Kind::Empty:
        case Kind::Other:
            break;
    }
    return std::string("the file this update carries is no Linux library");
}

// Why the installed library must stay, if it must: the installation loads libraries of
// another kind, which the one carried here cannot stand in for. A missing, empty or
// damaged file is replaced: the update repairs it.
std::optional<std::string> installedLibraryFault(const LibraryFile& installed,
                                                 const ElfMachine& machine) {
    if (installed.kind == LibraryFile::Kind::Windows)
        return std::string(
            "the installed control is a Windows library; this update carries "
            "the Linux one");
    if (installed.kind == LibraryFile::Kind::Elf && installed.machine != machine)
        return "the installed control is a library for " + describe(installed.machine) +
               "; this update carries the one for " + describe(machine);
    return std::nullopt;
}

// What must be true of the update before any file is written, in the order the user
// hears of it: the library carried here, the installed one, then the means to copy.
struct Inputs {
    std::optional<OpenedFile> carried;
    std::string carriedProblem;  // why `carried` could not be opened
    std::optional<OpenedFile> key;
    std::optional<OpenedFile> signature;
};

class Update {
  public:
    Update(const UpdateSetup& setup, std::string folderPath, Descriptor folder)
        : setup_(setup), folderPath_(std::move(folderPath)), folder_(std::move(folder)) {}

    // The text of the failure, and whether it was a refusal; nothing when the update went in.
    std::optional<ReplaceFailure> run() {
        if (setup_.ownFolder.empty())
            return ReplaceFailure{
                "cannot tell which folder this program lies in, so not which library to install",
                true};
        own_ = openFolder(setup_.ownFolder);
        source_ = inFolder(setup_.ownFolder, ControlLibrary);
        target_ = entryName(folder_.get(), ControlLibrary);
        targetShown_ = inFolder(folderPath_, target_);
        Inputs inputs;
        if (own_.valid())
            std::tie(inputs.carried, inputs.carriedProblem) =
                openRegularFile(own_.get(), std::string(ControlLibrary), LargestLibrary);
        else
            inputs.carriedProblem = std::strerror(errno);
        if (auto failure = checkCarried(inputs))
            return failure;
        if (auto failure = checkInstalled())
            return failure;
        if (!inputs.carried)
            return ReplaceFailure{"cannot read " + source_ + ": " + inputs.carriedProblem, false};
        if (auto failure = findKeyAndSignature(inputs))
            return failure;
        return replaceFile({folder_.get(), target_, inputs.carried->fd.get(), LargestLibrary,
                            [&](int copy) { return checkCopy(inputs, copy); }, shown(folderPath_),
                            targetShown_, source_});
    }

  private:
    std::optional<ReplaceFailure> checkCarried(const Inputs& inputs) const {
        if (!inputs.carried)
            return std::nullopt;
        if (auto fault = carriedLibraryFault(
                inspectLibrary(inputs.carried->fd.get(), setup_.machine), setup_.machine))
            return ReplaceFailure{std::move(*fault), true};
        return std::nullopt;
    }

    // Only what the refusal needs is read of the installed file: its kind and machine. A
    // symbolic link in its place is replaced, never followed.
    std::optional<ReplaceFailure> checkInstalled() const {
        struct stat entry;
        if (::fstatat(folder_.get(), target_.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
            S_ISLNK(entry.st_mode))
            return std::nullopt;
        if (auto reason = notAFile(entry.st_mode))
            return ReplaceFailure{"cannot replace " + targetShown_ + ": " + *reason, false};
        auto [installed, problem] = openRegularFile(folder_.get(), target_, entry.st_size);
        if (!installed)
            return std::nullopt;
        if (auto fault =
                installedLibraryFault(identifyLibrary(installed->fd.get()), setup_.machine))
            return ReplaceFailure{std::move(*fault), true};
        return std::nullopt;
    }

    std::optional<ReplaceFailure> findKeyAndSignature(Inputs& inputs) const {
        struct stat entry;
        const std::string keyName(TrustedKey);
        if (::fstatat(folder_.get(), keyName.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 &&
            errno == ENOENT)
            return std::nullopt;
        const std::string keyShown = inFolder(folderPath_, TrustedKey);
        auto [key, keyProblem] = openRegularFile(folder_.get(), keyName, LargestKeyFile);
        if (!key)
            return ReplaceFailure{
                "cannot read the installation's key " + keyShown + ": " + keyProblem, true};
        const std::string signatureShown = inFolder(setup_.ownFolder, Signature);
        auto [signature, signatureProblem] =
            openRegularFile(own_.get(), std::string(Signature), LargestKeyFile);
        if (!signature)
            return ReplaceFailure{"the installation takes only signed updates (it holds the key " +
                                      keyShown + "), and the signature " + signatureShown +
                                      " cannot be read: " + signatureProblem,
                                  true};
        inputs.key = std::move(key);
        inputs.signature = std::move(signature);
        return std::nullopt;
    }

    // The copy is what goes into place, so it is the copy that is looked at and verified.
    std::optional<std::string> checkCopy(const Inputs& inputs, int copy) const {
        if (auto fault = carriedLibraryFault(inspectLibrary(copy, setup_.machine), setup_.machine))
            return fault;
        if (!inputs.key)
            return std::nullopt;
        switch (verifySignature(inputs.key->fd.get(), inputs.signature->fd.get(), copy)) {
            case SignatureVerdict::Good:
                return std::nullopt;
            case SignatureVerdict::Bad:
                return "the signature " + inFolder(setup_.ownFolder, Signature) +
                       " is no valid signature of " + source_ + " by the installation's key " +
                       inFolder(folderPath_, TrustedKey);
            case SignatureVerdict::CannotCheck:
                break;
        }
        return std::string(
            "cannot check the signature: /usr/bin/gpgv (Debian package gpgv) could "
            "not be run");
    }

    const UpdateSetup& setup_;
    std::string folderPath_;
    Descriptor folder_;
    Descriptor own_;
    std::string source_;
    std::string target_;
    std::string targetShown_;
};

}  // namespace

Outcome runUpdate(const UpdateSetup& setup, UserInterface& ui) {
    std::array<char, 255> buffer{};
    std::size_t count = 0;
    try {
        count = readProfileString(setup.profileFile, "Quillon", "DestPath", "", buffer);
    } catch (const ProfileUnusable& unusable) {
        ui.showMessage(Title, std::string(NotUpdated) + unusable.what());
        return Outcome::Refused;
    }
    // The value ends at its first zero, as the system's calls would read it: the folder
    // named in a message is then the folder used.
    const std::string destination(buffer.data(), ::strnlen(buffer.data(), count));
    if (destination.empty()) {
        ui.showMessage(Title, NothingRecorded);
        return Outcome::NotInstalled;
    }
    if (!validText(destination)) {
        ui.showMessage(Title, std::string(NotUpdated) +
                                  "the installation folder recorded in the profile is no valid "
                                  "text: " +
                                  shown(destination));
        return Outcome::Refused;
    }

    const std::string folderPath = tessaro::paths::resolve(destination);
    Descriptor folder = openFolder(folderPath);
    if (!folder.valid() || !mainProgramPresent(folder.get())) {
        ui.showMessage(Title, MainProgramMissing);
        return Outcome::NotInstalled;
    }

    ui.yield();
    if (const std::optional<ReplaceFailure> failure =
            Update(setup, folderPath, std::move(folder)).run()) {
        ui.showMessage(Title, std::string(NotUpdated) + failure->text);
        return failure->refused ? Outcome::Refused : Outcome::CopyFailed;
    }
    ui.showMessage(Title, Updated);
    return Outcome::Updated;
}

}  // namespace mendrick
