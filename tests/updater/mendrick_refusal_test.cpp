// SPDX-License-Identifier: MIT
// mendrick never puts a library over the installed one that the installation cannot load:
// it names the reason in one box, leaves the installation exactly as it was and exits 2.

#include <elf.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/updater/mendrick_sandbox.h"
#include "updater/library_file.h"

namespace mendrick::testing {
namespace {

// A machine that is not ours.
ElfMachine otherMachine() {
    ElfMachine other = currentMachine();
    other.machine = other.machine == EM_AARCH64 ? EM_X86_64 : EM_AARCH64;
    return other;
}

ElfMachine ours32Bit() {
    ElfMachine machine = currentMachine();
    machine.elfClass = ELFCLASS32;
    return machine;
}

struct RefusalCase {
    const char* name;
    std::function<void(Sandbox&, const fs::path& installed)> arrange;
    std::function<std::string()> reason;
};

void PrintTo(const RefusalCase& c, std::ostream* out) {
    *out << c.name;
}

class MendrickRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(MendrickRefusalTest, NamesTheReasonAndLeavesTheInstallationAsItWas) {
    Sandbox sandbox;
    const fs::path installation = sandbox.installRecorded();
    GetParam().arrange(sandbox, installation / "Tessaro.ocx");
    const std::vector<std::string> before = snapshot(installation);

    const RunResult result = sandbox.run();

    EXPECT_EQ(result.output,
              "Veltrana: Veltrana could not be updated: " + GetParam().reason() + "\n");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(snapshot(installation), before);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, MendrickRefusalTest,
    ::testing::Values(
        RefusalCase{"installed_windows_library",
                    [](Sandbox&, const fs::path& lib) { writeFile(lib, windowsLibrary()); },
                    [] {
                        return std::string(
                            "the installed control is a Windows library; this "
                            "update carries the Linux one");
                    }},
        RefusalCase{
            "installed_library_of_another_machine",
            [](Sandbox&, const fs::path& lib) { writeFile(lib, libraryFor(otherMachine())); },
            [] {
                return "the installed control is a library for " + describe(otherMachine()) +
                       "; this update carries the one for " + describe(currentMachine());
            }},
        RefusalCase{"installed_library_of_another_class",
                    [](Sandbox&, const fs::path& lib) { writeFile(lib, libraryFor(ours32Bit())); },
                    [] {
                        return "the installed control is a library for " + describe(ours32Bit()) +
                               "; this update carries the one for " + describe(currentMachine());
                    }},
        RefusalCase{"carried_windows_library",
                    [](Sandbox& s, const fs::path&) { writeFile(s.payload(), windowsLibrary()); },
                    [] {
                        return std::string(
                            "this update carries a Windows library, not the Linux control");
                    }},
        RefusalCase{
            "carried_library_of_another_machine",
            [](Sandbox& s, const fs::path&) { writeFile(s.payload(), libraryFor(otherMachine())); },
            [] {
                return "this update carries the control for " + describe(otherMachine()) +
                       "; this computer needs the one for " + describe(currentMachine());
            }},
        RefusalCase{
            "carried_library_without_the_version_symbol",
            [](Sandbox& s, const fs::path&) {
                writeFile(s.payload(), libraryWithoutVersionSymbol());
            },
            [] { return std::string("the library this update carries is no Tessaro control"); }},
        RefusalCase{
            "carried_file_is_no_library",
            [](Sandbox& s, const fs::path&) { writeFile(s.payload(), libraryContent('x', 4096)); },
            [] { return std::string("the file this update carries is no Linux library"); }},
        RefusalCase{
            "carried_file_is_empty",
            [](Sandbox& s, const fs::path&) { writeFile(s.payload(), ""); },
            [] { return std::string("the file this update carries is no Linux library"); }}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mendrick::testing
