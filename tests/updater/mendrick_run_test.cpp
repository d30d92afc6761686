// SPDX-License-Identifier: MIT
// Runs the real mendrick program, unattended, over temporary installations.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <functional>

#include "tests/updater/mendrick_sandbox.h"

namespace mendrick::testing {
namespace {

constexpr const char* NothingRecorded = "Veltrana: Veltrana is Not Installed in Your System\n";
constexpr const char* MainProgramMissing =
    "Veltrana: Veltrana is not Installed on your Computer!\n";
constexpr const char* Updated = "Veltrana: Veltrana, Updated Successfully\n";

// A folder below the sandbox root whose full path has exactly `length` characters.
fs::path folderOfLength(const Sandbox& sandbox, std::size_t length) {
    const std::string root = sandbox.root().string() + "/";
    return root + std::string(length - root.size(), 'v');
}

std::string withBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

// What a scenario leaves behind for the checks: installed library files and whether
// each must have been replaced by the one beside mendrick.
struct Installed {
    fs::path library;
    bool replaced;
};
using Installations = std::vector<Installed>;

struct RunCase {
    const char* name;
    std::function<Installations(Sandbox&)> arrange;
    int exitCode;
    const char* output;
};

void PrintTo(const RunCase& c, std::ostream* out) {
    *out << c.name;
}

class MendrickRunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(MendrickRunTest, ReportsAndReplacesAsRecorded) {
    Sandbox sandbox;
    const Installations installations = GetParam().arrange(sandbox);
    std::vector<std::vector<std::string>> before;
    for (const Installed& installed : installations)
        before.push_back(listing(installed.library.parent_path()));

    const RunResult result = sandbox.run();

    EXPECT_EQ(result.output, GetParam().output);
    EXPECT_EQ(result.exitCode, GetParam().exitCode);
    for (std::size_t i = 0; i < installations.size(); ++i) {
        const Installed& installed = installations[i];
        SCOPED_TRACE(installed.library.string());
        EXPECT_EQ(fileContent(installed.library),
                  installed.replaced ? Sandbox::newLibrary() : Sandbox::oldLibrary());
        EXPECT_EQ(listing(installed.library.parent_path()), before[i])
            << "no file is left beside the library";
    }
}

Installations installedAt(Sandbox& sandbox, const fs::path& folder, bool replaced) {
    sandbox.install(folder);
    sandbox.recordInstallation(folder.string());
    return {{folder / "Tessaro.ocx", replaced}};
}

// An installation whose library has the given content, to be replaced.
Installations installedWith(Sandbox& sandbox, const std::string& content) {
    const fs::path folder = sandbox.installRecorded();
    writeFile(folder / "Tessaro.ocx", content);
    return {{folder / "Tessaro.ocx", true}};
}

// The entry is a 254-character folder followed by `tail`; the buffer holds the first
// 254 characters, which name an installation. The folder the whole entry names is
// installed too and must stay untouched.
Installations cutEntry(Sandbox& sandbox, const std::string& tail) {
    const fs::path kept = folderOfLength(sandbox, 254);
    const fs::path whole = kept.string() + tail;
    sandbox.install(kept);
    sandbox.install(whole);
    sandbox.recordInstallation(whole.string());
    return {{kept / "Tessaro.ocx", true}, {whole / "Tessaro.ocx", false}};
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, MendrickRunTest,
    ::testing::Values(
        RunCase{"no_profile_file", [](Sandbox&) { return Installations{}; }, 1, NothingRecorded},
        RunCase{"no_entry",
                [](Sandbox& s) {
                    s.writeProfile("Other=1\r\n");
                    return Installations{};
                },
                1, NothingRecorded},
        RunCase{"empty_entry",
                [](Sandbox& s) {
                    s.install(s.root() / "Veltrana");
                    s.writeProfile("DestPath=  \r\n");
                    return Installations{{s.root() / "Veltrana" / "Tessaro.ocx", false}};
                },
                1, NothingRecorded},
        RunCase{"main_program_missing",
                [](Sandbox& s) {
                    const Installations done = installedAt(s, s.root() / "Veltrana", false);
                    fs::remove(s.root() / "Veltrana" / "quillon");
                    return done;
                },
                1, MainProgramMissing},
        RunCase{"folder_missing",
                [](Sandbox& s) {
                    s.recordInstallation((s.root() / "Gone").string());
                    return Installations{};
                },
                1, MainProgramMissing},
        RunCase{"main_program_is_a_folder",
                [](Sandbox& s) {
                    const Installations done = installedAt(s, s.root() / "Veltrana", true);
                    fs::remove(s.root() / "Veltrana" / "quillon");
                    fs::create_directory(s.root() / "Veltrana" / "quillon");
                    return done;
                },
                0, Updated},
        RunCase{"main_program_by_its_windows_name",
                [](Sandbox& s) {
                    const Installations done = installedAt(s, s.root() / "Veltrana", true);
                    fs::rename(s.root() / "Veltrana" / "quillon",
                               s.root() / "Veltrana" / "quillon.exe");
                    return done;
                },
                0, Updated},
        RunCase{"success", [](Sandbox& s) { return installedAt(s, s.root() / "Veltrana", true); },
                0, Updated},
        // A library the installation can load takes the place of an installed file that is
        // none: the update repairs the installation.
        RunCase{"empty_installed_library", [](Sandbox& s) { return installedWith(s, ""); }, 0,
                Updated},
        RunCase{"truncated_installed_library",
                [](Sandbox& s) { return installedWith(s, Sandbox::newLibrary().substr(0, 100)); },
                0, Updated},
        RunCase{"installed_library_from_before_the_version_symbol",
                [](Sandbox& s) { return installedWith(s, libraryWithoutVersionSymbol()); }, 0,
                Updated},
        RunCase{"windows_style_entry_matched_case_blind",
                [](Sandbox& s) {
                    const fs::path folder = s.root() / "Program Files" / "Veltrana";
                    s.install(folder);
                    fs::rename(folder / "quillon", folder / "Quillon");
                    fs::rename(folder / "Tessaro.ocx", folder / "tessaro.OCX");
                    s.writeProfile("DestPath=\"" + withBackslashes(s.root().string()) +
                                   "\\PROGRAM FILES\\veltrana\"\r\n");
                    return Installations{{folder / "tessaro.OCX", true}};
                },
                0, Updated},
        RunCase{"entry_of_254_characters",
                [](Sandbox& s) { return installedAt(s, folderOfLength(s, 254), true); }, 0,
                Updated},
        RunCase{"entry_of_255_characters", [](Sandbox& s) { return cutEntry(s, "x"); }, 0, Updated},
        RunCase{"entry_of_300_characters",
                [](Sandbox& s) { return cutEntry(s, "/" + std::string(45, 'w')); }, 0, Updated}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MendrickRun, TwiceInARowCopiesTwiceAndReportsSuccessTwice) {
    Sandbox sandbox;
    const Installations installed = installedAt(sandbox, sandbox.root() / "Veltrana", true);
    const fs::path library = installed.front().library;

    const RunResult first = sandbox.run();
    const std::string second_payload = fileContent(SECOND_TEST_CONTROL);
    writeFile(sandbox.payload(), second_payload);
    const RunResult second = sandbox.run();

    EXPECT_EQ(first.output, Updated);
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_EQ(second.output, Updated);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(fileContent(library), second_payload);
    EXPECT_EQ(listing(library.parent_path()), (std::vector<std::string>{"Tessaro.ocx", "quillon"}));
}

TEST(MendrickRun, ReplacedLibraryKeepsItsPermissions) {
    Sandbox sandbox;
    const fs::path library =
        installedAt(sandbox, sandbox.root() / "Veltrana", true).front().library;
    fs::permissions(library, fs::perms(0640));

    EXPECT_EQ(sandbox.run().exitCode, 0);
    EXPECT_EQ(fs::status(library).permissions(), fs::perms(0640));
}

TEST(MendrickRun, LibraryNotYetInstalledIsPlaced) {
    Sandbox sandbox;
    const fs::path library =
        installedAt(sandbox, sandbox.root() / "Veltrana", true).front().library;
    fs::remove(library);

    EXPECT_EQ(sandbox.run().output, Updated);
    EXPECT_EQ(fileContent(library), Sandbox::newLibrary());
}

// Without MENDRICK_PROFILE the installation record is Veltrana/Quillon.ini in the user's
// configuration folder.
struct LocationCase {
    const char* name;
    fs::path configFolder;  // below the sandbox root, which is the child's HOME
    // "{root}" in a value stands for the sandbox root, which is also the child's working
    // folder.
    std::map<std::string, std::string> environment;
    const char* output;
};

void PrintTo(const LocationCase& c, std::ostream* out) {
    *out << c.name;
}

class MendrickLocationTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(MendrickLocationTest, FindsTheProfileInTheUsersConfigurationFolder) {
    Sandbox sandbox;
    const fs::path installation = sandbox.root() / "opt" / "Veltrana";
    sandbox.install(installation);
    writeFile(sandbox.root() / GetParam().configFolder / "Veltrana" / "Quillon.ini",
              "[Quillon]\nDestPath=" + installation.string() + "\n");
    std::map<std::string, std::string> environment;
    for (auto [name, value] : GetParam().environment) {
        if (value.starts_with("{root}"))
            value.replace(0, 6, sandbox.root().string());
        environment[name] = value;
    }

    const RunResult result = sandbox.run(environment);

    EXPECT_EQ(result.output, GetParam().output);
    const bool updated = result.output == std::string(Updated);
    EXPECT_EQ(fileContent(installation / "Tessaro.ocx"),
              updated ? Sandbox::newLibrary() : Sandbox::oldLibrary());
}

INSTANTIATE_TEST_SUITE_P(Locations, MendrickLocationTest,
                         ::testing::Values(LocationCase{"xdg_config_home",
                                                        "settings",
                                                        {{"XDG_CONFIG_HOME", "{root}/settings"}},
                                                        Updated},
                                           LocationCase{"home_config", ".config", {}, Updated},
                                           LocationCase{"relative_xdg_config_home_is_ignored",
                                                        ".config",
                                                        {{"XDG_CONFIG_HOME", "settings"}},
                                                        Updated},
                                           LocationCase{"mendrick_profile_comes_first",
                                                        "settings",
                                                        {{"XDG_CONFIG_HOME", "{root}/settings"},
                                                         {"MENDRICK_PROFILE", "{root}/absent.ini"}},
                                                        NothingRecorded}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mendrick::testing
