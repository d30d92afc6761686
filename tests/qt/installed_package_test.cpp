// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "tests/sanitizers.h"

namespace {

// Runs a program to its end; its standard output, or a failure naming what went wrong.
struct ProcessResult {
    int exitCode = -1;
    std::string output;
};

ProcessResult run(
    const QString& program, const QStringList& arguments,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProcessResult result;
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.output = process.readAllStandardOutput().toStdString() +
                    process.readAllStandardError().toStdString();
    return result;
}

// Installs the built tree's library, development files and Designer plugin into a prefix
// of their own, as a user would.
class InstalledPackageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* component : {"library", "development", "designer"}) {
            const ProcessResult install = run("cmake", {"--install", TESSARO_BUILD_DIR, "--prefix",
                                                        prefix(), "--component", component});
            ASSERT_EQ(install.exitCode, 0) << install.output;
        }
    }

    QString prefix() const { return folder.filePath("prefix"); }
    QString installed(const QString& relative) const { return prefix() + "/" + relative; }

    QTemporaryDir folder;
};

TEST_F(InstalledPackageTest, PutsLibraryPublicHeadersPackageFilesAndDesignerPlugin) {
    for (const QString& file :
         {QString(TESSARO_INSTALL_LIBDIR "/libTessaro.so"),
          QString(TESSARO_INSTALL_LIBDIR "/libTessaro.so.0"),
          QString(TESSARO_INSTALL_LIBDIR "/libTessaro.so." TESSARO_VERSION),
          QString("include/tessaro/kavo_video_sync_widget.h"),
          QString("include/tessaro/kavo_video_sync.h"), QString("include/tessaro/version.h"),
          QString(TESSARO_INSTALL_LIBDIR "/cmake/Tessaro/TessaroConfig.cmake"),
          QString(TESSARO_INSTALL_LIBDIR "/cmake/Tessaro/TessaroConfigVersion.cmake"),
          QString(TESSARO_INSTALL_LIBDIR "/pkgconfig/tessaro.pc"),
          QString(TESSARO_DESIGNER_INSTALL_DIR "/libtessaro_designer.so")})
        EXPECT_TRUE(QFileInfo::exists(installed(file))) << file.toStdString();
    EXPECT_EQ(QFileInfo(installed(TESSARO_INSTALL_LIBDIR "/libTessaro.so")).canonicalFilePath(),
              QFileInfo(installed(TESSARO_INSTALL_LIBDIR "/libTessaro.so." TESSARO_VERSION))
                  .canonicalFilePath());
    for (const char* internal : {"interpreter.h", "gst_backend.h", "error_modes.h", "platform"})
        EXPECT_FALSE(QFileInfo::exists(installed(QString("include/tessaro/") + internal)))
            << internal;
}

TEST_F(InstalledPackageTest, PkgConfigNamesTheInstalledHeadersAndLibrary) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PKG_CONFIG_PATH", installed(TESSARO_INSTALL_LIBDIR "/pkgconfig"));
    const ProcessResult flags = run("pkg-config", {"--cflags", "--libs", "tessaro"}, environment);
    ASSERT_EQ(flags.exitCode, 0) << flags.output;
    const QString includeDir = QDir::cleanPath(installed("include"));
    const QString libDir = QDir::cleanPath(installed(TESSARO_INSTALL_LIBDIR));
    QString cleaned;
    for (const QString& flag : QString::fromStdString(flags.output).split(' ', Qt::SkipEmptyParts))
        cleaned += (flag.startsWith("-I")   ? "-I" + QDir::cleanPath(flag.mid(2))
                    : flag.startsWith("-L") ? "-L" + QDir::cleanPath(flag.mid(2))
                                            : flag.trimmed()) +
                   ' ';
    EXPECT_TRUE(cleaned.contains("-I" + includeDir + ' ')) << cleaned.toStdString();
    EXPECT_TRUE(cleaned.contains("-L" + libDir + ' ')) << cleaned.toStdString();
    EXPECT_TRUE(cleaned.contains("-lTessaro ")) << cleaned.toStdString();
    EXPECT_TRUE(cleaned.contains("-lQt6Widgets ")) << cleaned.toStdString();
    EXPECT_EQ(run("pkg-config", {"--modversion", "tessaro"}, environment).output,
              TESSARO_VERSION "\n");
}

// The host's build also compiles each installed header on its own (package_host/).
TEST_F(InstalledPackageTest, AHostFindsThePackageBuildsLinksAndRuns) {
    if (UnderAddressSanitizer)
        GTEST_SKIP() << "a host built outside the project cannot link the library the "
                        "sanitizers instrument";
    const QString build = folder.filePath("host-build");
    const ProcessResult configure =
        run("cmake", {"-S", TESSARO_SOURCE_DIR "/tests/qt/package_host", "-B", build, "-G", "Ninja",
                      "-DCMAKE_PREFIX_PATH=" + prefix()});
    ASSERT_EQ(configure.exitCode, 0) << configure.output;
    EXPECT_NE(configure.output.find("Tessaro " TESSARO_VERSION), std::string::npos)
        << configure.output;
    const ProcessResult compile = run("cmake", {"--build", build});
    ASSERT_EQ(compile.exitCode, 0) << compile.output;

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    const ProcessResult host = run(build + "/package_host", {}, environment);
    EXPECT_EQ(host.exitCode, 0) << host.output;
    EXPECT_NE(host.output.find("Tadasana 3 352x288 1ms"), std::string::npos) << host.output;
}

}  // namespace
