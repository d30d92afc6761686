// SPDX-License-Identifier: MIT
// mendrick as an attacker or a careless user would try it: races between its checks and
// its writes, files that are no files, inputs that would hang it or exhaust it, paths
// that would mislead it, and updates that are not signed by the installation's key. Each
// row says how the run must end and what must remain on disk.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "tests/support/process.h"
#include "tests/support/temp_folder.h"
#include "tests/updater/mendrick_sandbox.h"

namespace mendrick::testing {
namespace {

constexpr uid_t Nobody = 65534;
constexpr const char* Updated = "Veltrana: Veltrana, Updated Successfully\n";
constexpr const char* NotUpdated = "Veltrana: Veltrana could not be updated: ";

// Two OpenPGP keys of the test's own, made once: the installation's and a stranger's.
class SigningKeys {
  public:
    static SigningKeys& get() {
        static SigningKeys keys;
        return keys;
    }
    // A binary public key file, as the installation keeps it.
    std::string trustedKey() const { return fileContent(home_ / "trusted.pub"); }
    // A detached signature of `file` by the trusted key or the stranger's.
    std::string signature(const fs::path& file, bool trusted) const {
        const fs::path out = home_ / "out.sig";
        fs::remove(out);
        gpg("--local-user " + std::string(trusted ? "trusted" : "stranger") + " --detach-sign -o " +
            out.string() + " " + file.string());
        return fileContent(out);
    }

  private:
    SigningKeys() {
        fs::permissions(home_, fs::perms::owner_all);
        for (const char* name : {"trusted", "stranger"})
            gpg("--passphrase '' --quick-gen-key '" + std::string(name) + " <" + name +
                "@example.org>' ed25519 sign never");
        gpg("--export -o " + (home_ / "trusted.pub").string() + " trusted");
    }
    ~SigningKeys() { std::system(("GNUPGHOME=" + home_.string() + " gpgconf --kill all").c_str()); }
    void gpg(const std::string& arguments) const {
        tessaro::testing::runCommand("GNUPGHOME=" + home_.string() + " gpg --batch --quiet " +
                                     arguments + " 2>/dev/null");
    }

    tessaro::testing::TempFolder folder_{"mendrick-keys"};
    fs::path home_ = folder_.path();
};

// What a row works on: the sandbox, its recorded installation and the child's environment.
struct Scene {
    Sandbox sandbox;
    fs::path installation;
    std::map<std::string, std::string> environment;

    fs::path root() const { return sandbox.root(); }
    // Runs the next mendrick with the shim acting at `when` ("create" or "rename").
    void atThe(const std::string& when, const std::string& what) {
        environment["LD_PRELOAD"] = RACE_SHIM;
        // A sanitizer build's runtime would otherwise insist on coming before the shim.
        environment["ASAN_OPTIONS"] = "verify_asan_link_order=0";
        environment["MENDRICK_SHIM_WHEN"] = when;
        environment["MENDRICK_SHIM_DO"] = what;
    }
    void recordRaw(const std::string& destPath) {
        sandbox.writeProfile("DestPath=" + destPath + "\r\n");
    }
};

enum class Remains {
    Untouched,  // the installation folder exactly as it was
    Replaced,   // the new library in place, and no other name added or removed
    AsChecked,  // what the row's own check says
};

struct HostileCase {
    const char* name;
    std::function<void(Scene&)> arrange;
    int exitCode;
    // The whole output, or, ending in "...", its start; "{root}" stands for the sandbox root.
    std::string output;
    Remains remains;
    std::function<void(const Scene&)> alsoRemains = [](const Scene&) {};
};

void PrintTo(const HostileCase& c, std::ostream* out) {
    *out << c.name;
}

std::string withRoot(std::string text, const fs::path& root) {
    for (auto at = text.find("{root}"); at != std::string::npos; at = text.find("{root}"))
        text.replace(at, 6, root.string());
    return text;
}

void makeFifo(const fs::path& path) {
    fs::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
}

void age(const fs::path& path, int seconds) {
    const timeval then{std::time(nullptr) - seconds, 0};
    const timeval times[2] = {then, then};
    ::lutimes(path.c_str(), times);
}

class MendrickHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(MendrickHostileTest, EndsAsItMustAndLeavesWhatItMust) {
    Scene scene;
    scene.installation = scene.sandbox.installRecorded();
    scene.environment["MENDRICK_PROFILE"] = scene.sandbox.profile().string();
    GetParam().arrange(scene);
    const std::vector<std::string> before = snapshot(scene.installation);
    const std::vector<std::string> names = listing(scene.installation);

    const RunResult result = scene.sandbox.run(scene.environment);

    EXPECT_EQ(result.exitCode, GetParam().exitCode) << result.output;
    const std::string output = withRoot(GetParam().output, scene.root());
    if (output.ends_with("..."))
        EXPECT_TRUE(result.output.starts_with(output.substr(0, output.size() - 3)))
            << result.output;
    else
        EXPECT_EQ(result.output, output);
    if (GetParam().remains == Remains::Untouched) {
        EXPECT_EQ(snapshot(scene.installation), before);
    } else if (GetParam().remains == Remains::Replaced) {
        EXPECT_EQ(fileContent(scene.installation / "Tessaro.ocx"), Sandbox::newLibrary());
        EXPECT_EQ(listing(scene.installation), names);
    }
    GetParam().alsoRemains(scene);
}

const std::string Script = "#!/bin/sh\necho owned\n";

INSTANTIATE_TEST_SUITE_P(
    Attacks, MendrickHostileTest,
    ::testing::Values(
        // Races: whoever controls a component of DestPath re-points it while root updates.
        HostileCase{"folder_link_repointed_after_the_checks",
                    [](Scene& s) {
                        fs::create_directories(s.root() / "Elsewhere");
                        fs::create_directory_symlink(s.installation, s.root() / "link");
                        fs::create_directory_symlink(s.root() / "Elsewhere", s.root() / "link.new");
                        s.sandbox.recordInstallation((s.root() / "link").string());
                        s.atThe("create", "move " + (s.root() / "link.new").string() + " " +
                                              (s.root() / "link").string());
                    },
                    0, Updated, Remains::Replaced,
                    [](const Scene& s) { EXPECT_TRUE(fs::is_empty(s.root() / "Elsewhere")); }},
        HostileCase{"carried_library_renamed_over_after_the_checks",
                    [](Scene& s) {
                        writeFile(s.root() / "script", Script);
                        s.atThe("create", "move " + (s.root() / "script").string() + " " +
                                              s.sandbox.payload().string());
                    },
                    0, Updated, Remains::Replaced},
        HostileCase{"carried_library_rewritten_in_place_after_the_checks",
                    [](Scene& s) {
                        writeFile(s.root() / "script", Script);
                        s.atThe("create", "overwrite " + (s.root() / "script").string() + " " +
                                              s.sandbox.payload().string());
                    },
                    2,
                    std::string(NotUpdated) + "the file this update carries is no Linux library\n",
                    Remains::Untouched},
        // Leftovers.
        HostileCase{"terminated_during_the_copy", [](Scene& s) { s.atThe("create", "signal 15"); },
                    128 + 15, "", Remains::Untouched},
        // Past the point of no return: the new library goes in whole, then the signal ends it.
        HostileCase{"interrupted_at_the_rename", [](Scene& s) { s.atThe("rename", "signal 2"); },
                    128 + 2, "", Remains::Replaced},
        HostileCase{"stale_new_files_swept",
                    [](Scene& s) {
                        for (const char* name : {".Tessaro.ocx.Ab12Cd", ".Tessaro.ocx.fresh1",
                                                 ".Tessaro.ocx.mine", "Tessaro.ocx.Ab12Cd"})
                            writeFile(s.installation / name, "left over");
                        age(s.installation / ".Tessaro.ocx.Ab12Cd", 2 * 3600);
                        age(s.installation / ".Tessaro.ocx.mine", 2 * 3600);
                        age(s.installation / "Tessaro.ocx.Ab12Cd", 2 * 3600);
                    },
                    0, Updated, Remains::AsChecked,
                    [](const Scene& s) {
                        EXPECT_EQ(listing(s.installation),
                                  (std::vector<std::string>{".Tessaro.ocx.fresh1",
                                                            ".Tessaro.ocx.mine", "Tessaro.ocx",
                                                            "Tessaro.ocx.Ab12Cd", "quillon"}));
                        EXPECT_EQ(fileContent(s.installation / "Tessaro.ocx"),
                                  Sandbox::newLibrary());
                    }},
        // Files that are no files, refused by name before anything waits on them.
        HostileCase{"carried_named_pipe", [](Scene& s) { makeFifo(s.sandbox.payload()); }, 2,
                    std::string(NotUpdated) +
                        "cannot read {root}/bin/Tessaro.ocx: it is a named pipe, not a file\n",
                    Remains::Untouched},
        HostileCase{"carried_link_to_dev_zero",
                    [](Scene& s) {
                        fs::remove(s.sandbox.payload());
                        fs::create_symlink("/dev/zero", s.sandbox.payload());
                    },
                    2,
                    std::string(NotUpdated) +
                        "cannot read {root}/bin/Tessaro.ocx: it is a symbolic link, not a file\n",
                    Remains::Untouched},
        HostileCase{
            "installed_named_pipe", [](Scene& s) { makeFifo(s.installation / "Tessaro.ocx"); }, 2,
            std::string(NotUpdated) +
                "cannot replace {root}/Veltrana/Tessaro.ocx: it is a named pipe, not a file\n",
            Remains::Untouched},
        HostileCase{
            "profile_named_pipe", [](Scene& s) { makeFifo(s.sandbox.profile()); }, 2,
            std::string(NotUpdated) +
                "cannot read the profile file {root}/win.ini: it is a named pipe, not a file\n",
            Remains::Untouched},
        HostileCase{"profile_dev_zero",
                    [](Scene& s) { s.environment["MENDRICK_PROFILE"] = "/dev/zero"; }, 2,
                    std::string(NotUpdated) +
                        "cannot read the profile file /dev/zero: it is a device, not a file\n",
                    Remains::Untouched},
        HostileCase{"profile_over_a_megabyte",
                    [](Scene& s) {
                        writeFile(s.sandbox.profile(),
                                  "[Quillon]\nDestPath=" + s.installation.string() + "\n;" +
                                      std::string(1 << 20, 'x') + "\n");
                    },
                    2,
                    std::string(NotUpdated) +
                        "cannot read the profile file {root}/win.ini: it is larger than 1 MiB\n",
                    Remains::Untouched},
        // Libraries no host can load.
        HostileCase{
            "carried_library_of_a_thousand_huge_sections",
            [](Scene& s) { writeFile(s.sandbox.payload(), manySectionsLibrary()); }, 2,
            std::string(NotUpdated) + "the library this update carries is no Tessaro control\n",
            Remains::Untouched},
        HostileCase{
            "carried_library_without_program_headers",
            [](Scene& s) { writeFile(s.sandbox.payload(), libraryWithoutProgramHeaders()); }, 2,
            std::string(NotUpdated) + "the library this update carries is no Tessaro control\n",
            Remains::Untouched},
        // Paths.
        HostileCase{"destination_with_a_zero_byte",
                    [](Scene& s) {
                        s.recordRaw(s.installation.string() + std::string(1, '\0') +
                                    "/../Elsewhere");
                    },
                    0, Updated, Remains::Replaced},
        HostileCase{"destination_not_valid_text",
                    [](Scene& s) { s.recordRaw(s.installation.string() + "\xFF"); }, 2,
                    std::string(NotUpdated) +
                        "the installation folder recorded in the profile is no valid text: "
                        "{root}/Veltrana\\xFF\n",
                    Remains::Untouched},
        HostileCase{"control_bytes_in_the_folder_name",
                    [](Scene& s) {
                        const fs::path folder = s.root() / "Vel\x1b]0;owned\atrana";
                        s.sandbox.install(folder);
                        s.sandbox.recordInstallation(folder.string());
                        makeFifo(folder / "Tessaro.ocx");
                    },
                    2,
                    std::string(NotUpdated) +
                        "cannot replace {root}/Vel\\x1B]0;owned\\x07trana/Tessaro.ocx: it is a "
                        "named pipe, not a file\n",
                    Remains::Untouched},
        HostileCase{"program_folder_with_a_backslash",
                    [](Scene& s) {
                        s.sandbox.moveProgram(s.root() / "upd\\ate");
                        writeFile(s.root() / "upd" / "ate" / "Tessaro.ocx",
                                  fileContent(SECOND_TEST_CONTROL));
                    },
                    0, Updated, Remains::Replaced},
        // Signed updates: an installation holding a key takes only what that key signed.
        HostileCase{"signed_by_the_installations_key",
                    [](Scene& s) {
                        writeFile(s.installation / "Tessaro.ocx.pub",
                                  SigningKeys::get().trustedKey());
                        writeFile(s.sandbox.programFolder() / "Tessaro.ocx.sig",
                                  SigningKeys::get().signature(s.sandbox.payload(), true));
                    },
                    0, Updated, Remains::Replaced},
        HostileCase{
            "unsigned_where_a_key_is_held",
            [](Scene& s) {
                writeFile(s.installation / "Tessaro.ocx.pub", SigningKeys::get().trustedKey());
            },
            2,
            std::string(NotUpdated) +
                "the installation takes only signed updates (it holds the key "
                "{root}/Veltrana/Tessaro.ocx.pub), and the signature {root}/bin/Tessaro.ocx.sig "
                "cannot be read: No such file or directory\n",
            Remains::Untouched},
        HostileCase{"signed_by_a_stranger",
                    [](Scene& s) {
                        writeFile(s.installation / "Tessaro.ocx.pub",
                                  SigningKeys::get().trustedKey());
                        writeFile(s.sandbox.programFolder() / "Tessaro.ocx.sig",
                                  SigningKeys::get().signature(s.sandbox.payload(), false));
                    },
                    2,
                    std::string(NotUpdated) +
                        "the signature {root}/bin/Tessaro.ocx.sig is no valid signature of "
                        "{root}/bin/Tessaro.ocx by the installation's key "
                        "{root}/Veltrana/Tessaro.ocx.pub\n",
                    Remains::Untouched},
        HostileCase{
            "signature_of_another_library",
            [](Scene& s) {
                writeFile(s.installation / "Tessaro.ocx.pub", SigningKeys::get().trustedKey());
                writeFile(s.sandbox.programFolder() / "Tessaro.ocx.sig",
                          SigningKeys::get().signature(SECOND_TEST_CONTROL, true));
            },
            2, std::string(NotUpdated) + "the signature {root}/bin/Tessaro.ocx.sig is no valid...",
            Remains::Untouched}),
    [](const auto& info) { return std::string(info.param.name); });

// The new file takes the replaced file's permission bits without the special ones, and,
// when root updates, its owner; a symbolic link in the library's place is replaced, not
// followed.
TEST(MendrickHostile, NewLibraryIsNeverSetuidAndKeepsItsOwner) {
    Sandbox sandbox;
    const fs::path library = sandbox.installRecorded() / "Tessaro.ocx";
    ASSERT_EQ(::chmod(library.c_str(), 06755), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(library.c_str(), Nobody, Nobody), 0);
    }

    EXPECT_EQ(sandbox.run().output, Updated);
    struct stat info;
    ASSERT_EQ(::lstat(library.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0755u);
    if (root) {
        EXPECT_EQ(info.st_uid, Nobody);
    }
}

TEST(MendrickHostile, LinkInTheLibrarysPlaceIsReplacedNotFollowed) {
    Sandbox sandbox;
    const fs::path library = sandbox.installRecorded() / "Tessaro.ocx";
    const fs::path elsewhere = sandbox.root() / "setuid-program";
    writeFile(elsewhere, "kept");
    ASSERT_EQ(::chmod(elsewhere.c_str(), 04755), 0);
    fs::remove(library);
    fs::create_symlink(elsewhere, library);

    EXPECT_EQ(sandbox.run().output, Updated);
    EXPECT_EQ(fileContent(elsewhere), "kept");
    struct stat info;
    ASSERT_EQ(::lstat(library.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 07000, 0u);
}

// A kill that no handler sees, between naming the new file and the rename, leaves it;
// a later run removes it once nobody can still be writing it.
TEST(MendrickHostile, NewFileOfAKilledRunIsRemovedByALaterOne) {
    Scene scene;
    scene.installation = scene.sandbox.installRecorded();
    scene.environment["MENDRICK_PROFILE"] = scene.sandbox.profile().string();
    scene.atThe("rename", "signal 9");
    const RunResult killed = scene.sandbox.run(scene.environment);
    std::vector<std::string> names = listing(scene.installation);
    ASSERT_EQ(killed.exitCode, 128 + 9);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(fileContent(scene.installation / "Tessaro.ocx"), Sandbox::oldLibrary());

    age(scene.installation / names.front(), 2 * 3600);
    EXPECT_EQ(scene.sandbox.run().output, Updated);
    EXPECT_EQ(listing(scene.installation), (std::vector<std::string>{"Tessaro.ocx", "quillon"}));
}

}  // namespace
}  // namespace mendrick::testing
