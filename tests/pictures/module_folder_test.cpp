// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include <tessaro/module_folder.h>

namespace tessaro::host {
namespace {

// This code is linked into the test program itself, so the program's folder is the
// module's.
TEST(LibraryModuleFolder, IsTheFolderTheCodeWasLoadedFrom) {
    unsetenv("TESSARO_MODULE_DIR");
    const auto program = std::filesystem::canonical("/proc/self/exe");
    EXPECT_EQ(libraryModuleFolder().path(), program.parent_path().string());
}

TEST(LibraryModuleFolder, HonoursTessaroModuleDir) {
    struct Case {
        const char* value;
        const char* expected;
    };
    for (const Case& c :
         {Case{"/opt/course/lib", "/opt/course/lib"}, Case{"/opt/course/lib/", "/opt/course/lib"},
          Case{"C:\\Course\\", "C:\\Course"}}) {
        setenv("TESSARO_MODULE_DIR", c.value, 1);
        EXPECT_EQ(libraryModuleFolder().path(), c.expected) << c.value;
    }
    setenv("TESSARO_MODULE_DIR", "", 1);
    EXPECT_EQ(libraryModuleFolder().path(),
              std::filesystem::canonical("/proc/self/exe").parent_path().string())
        << "an empty value does not override";
    unsetenv("TESSARO_MODULE_DIR");
}

}  // namespace
}  // namespace tessaro::host
