// SPDX-License-Identifier: MIT
#pragma once

#include <sys/resource.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"
#include "updater/library_file.h"

namespace mendrick::testing {

namespace fs = std::filesystem;

// Deterministic content for a library file; different seeds give different bytes.
std::string libraryContent(char seed, std::size_t size = 100 * 1024);

using tessaro::testing::fileContent;
// Writes `content` to `file`, creating the folders on its way.
void writeFile(const fs::path& file, const std::string& content);

// Files mendrick must tell from the control library it carries (Sandbox::newLibrary):
// a Windows library as far as its first bytes go (the MZ header pointing at "PE\0\0"), the
// test library with its header saying it was built for another machine, and the test
// library with every mention of tessaro::version() spelled otherwise.
std::string windowsLibrary();
std::string libraryFor(const ElfMachine& machine);
std::string libraryWithoutVersionSymbol();
// Libraries no host can load though their headers claim this machine: the test library
// without program headers, and a 64 KB file of this machine's class whose thousand
// section headers each claim a 64 MiB dynamic symbol table.
std::string libraryWithoutProgramHeaders();
std::string manySectionsLibrary();

// The names in a folder, sorted.
std::vector<std::string> listing(const fs::path& folder);

// Everything below a folder: each entry's relative path, kind, permissions and, for a
// file, content. Two equal snapshots mean nothing there was touched.
std::vector<std::string> snapshot(const fs::path& folder);

// How the child runs besides its environment.
struct ChildLimits {
    std::optional<rlim_t> fileSizeLimit;  // RLIMIT_FSIZE, with SIGXFSZ ignored
    bool unprivileged = false;            // drop to user "nobody" when running as root
};

struct RunResult {
    int exitCode = -1;
    std::string output;  // standard output
};

// A temporary folder holding a copy of the real mendrick with a small control library
// beside it as Tessaro.ocx (the "program folder"), a profile file and installation folders.
// Everything in it is readable by every user so that an unprivileged child can run.
// The child's XDG_RUNTIME_DIR lies inside it too, so a run leaves nothing elsewhere.
class Sandbox {
  public:
    Sandbox();

    const fs::path& root() const { return root_; }
    fs::path programFolder() const { return program_; }
    // Moves the copy of mendrick and its library to `folder`, below the root.
    void moveProgram(const fs::path& folder);
    fs::path payload() const { return programFolder() / "Tessaro.ocx"; }
    fs::path profile() const { return root_ / "win.ini"; }

    // Writes a profile whose [Quillon] section holds the given lines.
    void writeProfile(const std::string& quillonLines);
    // Writes a profile recording `folder` as DestPath.
    void recordInstallation(const std::string& folder);
    // Installs into root()/Veltrana and records it; the installation folder.
    fs::path installRecorded();

    // Creates `folder` with the main program `quillon` and an installed library of old
    // content, which is no library at all (a damaged one, as far as mendrick can tell).
    void install(const fs::path& folder);

    // Runs the copy of mendrick unattended. `environment` is the child's whole
    // environment apart from MENDRICK_NONINTERACTIVE=1, PATH and HOME (the sandbox root);
    // by default it names the sandbox's profile in MENDRICK_PROFILE.
    RunResult run(const ChildLimits& limits = {}) const;
    RunResult run(const std::map<std::string, std::string>& environment,
                  const ChildLimits& limits = {}) const;

    static std::string oldLibrary() { return libraryContent('o', 30 * 1024); }
    // The library beside mendrick: a real ELF shared object exporting tessaro::version().
    static std::string newLibrary() { return fileContent(TEST_CONTROL); }

  private:
    std::string runtimeFolder(const ChildLimits& limits) const;

    tessaro::testing::TempFolder folder_{"mendrick"};
    fs::path root_ = folder_.path();
    fs::path program_;
};

}  // namespace mendrick::testing
