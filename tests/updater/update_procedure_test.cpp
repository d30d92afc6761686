// SPDX-License-Identifier: MIT
#include "updater/update_procedure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace mendrick {
namespace {

namespace fs = std::filesystem;

// Records what the procedure asked of the user interface, in order.
class RecordingInterface : public UserInterface {
  public:
    void showMessage(std::string_view title, std::string_view text) override {
        calls.push_back(std::string(title) + ": " + std::string(text));
    }
    void yield() override { calls.push_back("yield"); }

    std::vector<std::string> calls;
};

class UpdateProcedureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_ / "bin");
        fs::copy_file(TEST_CONTROL, root_ / "bin" / "Tessaro.ocx");
        setup_ = {(root_ / "Quillon.ini").string(), (root_ / "bin").string(), currentMachine()};
    }

    void record(const std::string& destPath) {
        std::ofstream(root_ / "Quillon.ini") << "[Quillon]\nDestPath=" << destPath << "\n";
    }
    void install(const fs::path& folder) {
        fs::create_directories(folder);
        std::ofstream(folder / "quillon") << "main";
        std::ofstream(folder / "Tessaro.ocx") << "old";
    }
    tessaro::testing::TempFolder folder_{"mendrick-procedure"};
    fs::path root_ = folder_.path();
    UpdateSetup setup_;
    RecordingInterface ui_;
};

TEST_F(UpdateProcedureTest, NothingRecordedShowsOneBoxWithoutYielding) {
    EXPECT_EQ(runUpdate(setup_, ui_), Outcome::NotInstalled);
    EXPECT_EQ(ui_.calls,
              (std::vector<std::string>{"Veltrana: Veltrana is Not Installed in Your System"}));
}

TEST_F(UpdateProcedureTest, MissingMainProgramShowsOneBoxWithoutYielding) {
    record((root_ / "nowhere").string());
    EXPECT_EQ(runUpdate(setup_, ui_), Outcome::NotInstalled);
    EXPECT_EQ(ui_.calls,
              (std::vector<std::string>{"Veltrana: Veltrana is not Installed on your Computer!"}));
}

TEST_F(UpdateProcedureTest, YieldsOnceBeforeCopyingThenReportsSuccess) {
    install(root_ / "Veltrana");
    record((root_ / "Veltrana").string());
    EXPECT_EQ(runUpdate(setup_, ui_), Outcome::Updated);
    EXPECT_EQ(ui_.calls,
              (std::vector<std::string>{"yield", "Veltrana: Veltrana, Updated Successfully"}));
    EXPECT_EQ(tessaro::testing::fileContent(root_ / "Veltrana" / "Tessaro.ocx"),
              tessaro::testing::fileContent(TEST_CONTROL));
}

TEST_F(UpdateProcedureTest, FailedCopyReportsTheErrorInsteadOfSuccess) {
    install(root_ / "Veltrana");
    record((root_ / "Veltrana").string());
    fs::remove(root_ / "bin" / "Tessaro.ocx");
    EXPECT_EQ(runUpdate(setup_, ui_), Outcome::CopyFailed);
    ASSERT_EQ(ui_.calls.size(), 2u);
    EXPECT_EQ(ui_.calls[0], "yield");
    EXPECT_TRUE(ui_.calls[1].starts_with("Veltrana: Veltrana could not be updated: cannot read "))
        << ui_.calls[1];
    EXPECT_EQ(tessaro::testing::fileContent(root_ / "Veltrana" / "Tessaro.ocx"), "old");
}

TEST_F(UpdateProcedureTest, UnknownOwnFolderRefusesInsteadOfUsingTheWorkingFolder) {
    install(root_ / "Veltrana");
    record((root_ / "Veltrana").string());
    setup_.ownFolder.clear();
    EXPECT_EQ(runUpdate(setup_, ui_), Outcome::Refused);
    EXPECT_EQ(ui_.calls.back(),
              "Veltrana: Veltrana could not be updated: cannot tell which folder this program lies "
              "in, so not which library to install");
    EXPECT_EQ(tessaro::testing::fileContent(root_ / "Veltrana" / "Tessaro.ocx"), "old");
}

// A Windows installation, recorded with its drive letter, is no installation this updater
// can serve: its control would be a Windows library.
TEST_F(UpdateProcedureTest, DriveLetterPathNamesNoInstallation) {
    install(root_ / "drive_d" / "Veltrana");
    record("D:\\VELTRANA");
    EXPECT_EQ(runUpdate(setup_, ui_), Outcome::NotInstalled);
    EXPECT_EQ(tessaro::testing::fileContent(root_ / "drive_d" / "Veltrana" / "Tessaro.ocx"), "old");
}

TEST_F(UpdateProcedureTest, RefusalLeavesTheInstalledLibraryAfterYielding) {
    install(root_ / "Veltrana");
    std::ofstream(root_ / "Veltrana" / "Tessaro.ocx")
        << "MZ" << std::string(58, '\0') << "@" << std::string(3, '\0') << "PE" << '\0' << '\0';
    record((root_ / "Veltrana").string());
    EXPECT_EQ(runUpdate(setup_, ui_), Outcome::Refused);
    ASSERT_EQ(ui_.calls.size(), 2u);
    EXPECT_EQ(ui_.calls[0], "yield");
    EXPECT_EQ(ui_.calls[1],
              "Veltrana: Veltrana could not be updated: the installed control is a Windows "
              "library; this update carries the Linux one");
}

}  // namespace
}  // namespace mendrick
