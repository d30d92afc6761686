// SPDX-License-Identifier: MIT
// An update of the example installation, end to end: the main program `quillon` loads
// Tessaro.ocx from its own folder; mendrick, started from a folder carrying a newer
// Tessaro.ocx, replaces it. A quillon started afterwards runs on the newer control, and one
// that runs while the update happens keeps playing on the control it has loaded.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/qt/qt_test_main.h"
#include "tests/qt/test_course.h"

namespace mendrick::testing {
namespace {

namespace fs = std::filesystem;
using tessaro::qt::testing::TestCourse;

constexpr const char* OlderVersion = "0.0.9";
constexpr const char* Updated = "Veltrana: Veltrana, Updated Successfully\n";

class InstallationUpdateTest : public ::testing::Test,
                               protected tessaro::qt::testing::WithApplication {
  protected:
    // The installation with the older control, recorded in the user's configuration folder,
    // and an update folder with mendrick and the newer control.
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        fs::create_directories(installation());
        fs::copy_file(fs::path(INSTALLATION) / "quillon", installation() / "quillon");
        fs::copy_file(OLDER_CONTROL, installation() / "Tessaro.ocx");
        fs::create_symlink("Tessaro.ocx", installation() / "libTessaro.so.0");
        fs::create_directories(update());
        fs::copy_file(MENDRICK_BINARY, update() / "mendrick");
        fs::copy_file(NEWER_CONTROL, update() / "Tessaro.ocx");
        fs::create_directories(root() / "config" / "Veltrana");
        std::ofstream(root() / "config" / "Veltrana" / "Quillon.ini")
            << "[Quillon]\nDestPath=" << installation().string() << "\n";
        fs::create_directories(root() / "runtime");
        fs::permissions(root() / "runtime", fs::perms::owner_all);
    }

    fs::path root() const { return root_.path().toStdString(); }
    fs::path installation() const { return root() / "Veltrana"; }
    fs::path update() const { return root() / "update"; }

    void prepare(QProcess& process, const fs::path& program, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", QString::fromStdString(root().string()));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString((root() / "config").string()));
        environment.insert("XDG_RUNTIME_DIR",
                           QString::fromStdString((root() / "runtime").string()));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("MENDRICK_NONINTERACTIVE", "1");
        environment.remove("MENDRICK_PROFILE");
        environment.remove("TESSARO_MODULE_DIR");
        environment.remove("LD_LIBRARY_PATH");
        process.setProcessEnvironment(environment);
        process.setProgram(QString::fromStdString(program.string()));
        process.setArguments(arguments);
    }

    // Runs a program to its end; its standard output.
    std::string run(const fs::path& program, const QStringList& arguments = {}) {
        QProcess process;
        prepare(process, program, arguments);
        process.start();
        EXPECT_TRUE(process.waitForFinished(60000)) << program;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << program;
        EXPECT_EQ(process.exitCode(), 0)
            << program << ": " << process.readAllStandardError().toStdString();
        return process.readAllStandardOutput().toStdString();
    }

    std::string quillonVersion() { return run(installation() / "quillon", {"--version"}); }

  private:
    QTemporaryDir root_;
};

// Adds a running program's output to `output` until it holds `text`; false when the
// program ends or falls silent for a minute first.
bool readUntil(QProcess& process, const QString& text, QString& output) {
    while (!output.contains(text)) {
        if (!process.waitForReadyRead(60000))
            return false;
        output += QString::fromLocal8Bit(process.readAllStandardOutput());
    }
    return true;
}

// Adds what a running program has written so far to `output`.
void readWritten(QProcess& process, QString& output) {
    while (process.waitForReadyRead(200))
        output += QString::fromLocal8Bit(process.readAllStandardOutput());
}

TEST_F(InstallationUpdateTest, TheNextStartLoadsTheNewerControl) {
    EXPECT_EQ(quillonVersion(), std::string("quillon (Tessaro) ") + OlderVersion + "\n");

    EXPECT_EQ(run(update() / "mendrick"), Updated);

    EXPECT_EQ(quillonVersion(), "quillon (Tessaro) " NEWER_VERSION "\n");
    EXPECT_EQ(fs::read_symlink(installation() / "libTessaro.so.0"), "Tessaro.ocx");
}

TEST_F(InstallationUpdateTest, AMainProgramRunningDuringTheUpdateKeepsPlaying) {
    const TestCourse course("color=c=blue", 125);  // narration from 0 s and from 5 s
    QProcess quillon;
    prepare(quillon, installation() / "quillon", {course.resourcedir(), "Tadasana"});
    quillon.start();
    QString output;
    ASSERT_TRUE(readUntil(quillon, "CurAudioNos", output)) << output.toStdString();

    EXPECT_EQ(run(update() / "mendrick"), Updated);
    readWritten(quillon, output);
    ASSERT_EQ(output.count("CurAudioNos"), 1) << "the second narration started before the update";

    EXPECT_TRUE(readUntil(quillon, "VideoEnd", output)) << output.toStdString();
    EXPECT_TRUE(output.contains(QString("Tessaro ") + OlderVersion)) << output.toStdString();
    EXPECT_EQ(output.count("CurAudioNos"), 2) << output.toStdString();
    quillon.terminate();
    EXPECT_TRUE(quillon.waitForFinished(60000));
    EXPECT_EQ(quillonVersion(), "quillon (Tessaro) " NEWER_VERSION "\n");
}

}  // namespace
}  // namespace mendrick::testing
