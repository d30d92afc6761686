// SPDX-License-Identifier: MIT
// A copy that cannot be completed leaves the installed library exactly as it was, leaves
// no new file behind, and is reported in a box naming the error.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>

#include "tests/updater/mendrick_sandbox.h"

namespace mendrick::testing {
namespace {

struct FailureCase {
    const char* name;
    std::function<void(Sandbox&, const fs::path& installation)> arrange;
    ChildLimits limits;
    int error;  // the errno whose text the box must name
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class MendrickFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(MendrickFailureTest, LeavesTheInstalledLibraryAsItWas) {
    Sandbox sandbox;
    const fs::path installation = sandbox.installRecorded();
    GetParam().arrange(sandbox, installation);
    const std::vector<std::string> before = snapshot(installation);

    const RunResult result = sandbox.run(GetParam().limits);

    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.output.starts_with("Veltrana: Veltrana could not be updated: "))
        << result.output;
    EXPECT_NE(result.output.find(std::strerror(GetParam().error)), std::string::npos)
        << result.output;
    EXPECT_EQ(result.output.find("Updated Successfully"), std::string::npos);
    EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << "exactly one box";
    EXPECT_EQ(snapshot(installation), before);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, MendrickFailureTest,
    ::testing::Values(FailureCase{"source_missing",
                                  [](Sandbox& s, const fs::path&) { fs::remove(s.payload()); },
                                  {},
                                  ENOENT},
                      FailureCase{"source_is_a_folder",
                                  [](Sandbox& s, const fs::path&) {
                                      fs::remove(s.payload());
                                      fs::create_directory(s.payload());
                                  },
                                  {},
                                  EISDIR},
                      // Root ignores permission bits, so the program runs as "nobody" then.
                      FailureCase{"folder_not_writable",
                                  [](Sandbox&, const fs::path& installation) {
                                      fs::permissions(installation, fs::perms(0555));
                                  },
                                  ChildLimits{std::nullopt, true}, EACCES},
                      // The file-size limit makes the write fail part-way, as a full disk does.
                      FailureCase{"disk_full", [](Sandbox&, const fs::path&) {},
                                  ChildLimits{4 * 1024, false}, EFBIG},
                      FailureCase{"installed_library_cannot_be_replaced",
                                  [](Sandbox&, const fs::path& installation) {
                                      fs::remove(installation / "Tessaro.ocx");
                                      fs::create_directory(installation / "Tessaro.ocx");
                                      writeFile(installation / "Tessaro.ocx" / "inside", "kept");
                                  },
                                  {},
                                  EISDIR}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace mendrick::testing
