// SPDX-License-Identifier: MIT
#include "updater/library_file.h"

#include <elf.h>
#include <gtest/gtest.h>
#include <link.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "tests/support/temp_folder.h"

namespace mendrick {
namespace {

namespace fs = std::filesystem;

std::string testControl() {
    return tessaro::testing::fileContent(TEST_CONTROL);
}

// The test library with its ELF header changed by `change`.
std::string withHeader(const std::function<void(ElfW(Ehdr) &)>& change) {
    std::string content = testControl();
    ElfW(Ehdr) header;
    std::memcpy(&header, content.data(), sizeof header);
    change(header);
    std::memcpy(content.data(), &header, sizeof header);
    return content;
}

// Damaged headers are read as far as they go and never trusted: the file is an ELF object
// without the version symbol, and nothing is read outside it.
struct DamageCase {
    const char* name;
    std::function<std::string()> content;
    bool tessaroControl;
};

void PrintTo(const DamageCase& c, std::ostream* out) {
    *out << c.name;
}

class LibraryFileTest : public ::testing::TestWithParam<DamageCase> {};

TEST_P(LibraryFileTest, ReadsTheHeadersItCanTrust) {
    const tessaro::testing::TempFolder folder("library-file");
    const fs::path file = folder / GetParam().name;
    std::ofstream(file, std::ios::binary) << GetParam().content();

    const LibraryFile library = inspectLibrary(file.string(), currentMachine());

    EXPECT_EQ(library.kind, LibraryFile::Kind::Elf);
    EXPECT_EQ(library.machine, currentMachine());
    EXPECT_EQ(library.tessaroControl, GetParam().tessaroControl);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, LibraryFileTest,
    ::testing::Values(
        DamageCase{"whole", testControl, true},
        DamageCase{"cut_after_the_header", [] { return testControl().substr(0, 64); }, false},
        DamageCase{
            "sections_beyond_the_end",
            [] { return withHeader([](auto& h) { h.e_shoff = ~decltype(h.e_shoff){0} - 8; }); },
            false},
        DamageCase{"section_count_beyond_the_end",
                   [] { return withHeader([](auto& h) { h.e_shnum = 0xFFFF; }); }, false},
        DamageCase{"wrong_section_entry_size",
                   [] { return withHeader([](auto& h) { h.e_shentsize = 1; }); }, false},
        DamageCase{"no_shared_object",
                   [] { return withHeader([](auto& h) { h.e_type = ET_REL; }); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LibraryFile, TellsMissingEmptyFolderWindowsAndOtherFilesApart) {
    const tessaro::testing::TempFolder folder("library-kinds");
    fs::create_directories(folder / "folder");
    std::ofstream(folder / "empty");
    std::ofstream(folder / "text") << "not a library at all, just some words";
    std::ofstream(folder / "dos") << "MZ" << std::string(200, '\0');
    const ElfMachine machine = currentMachine();

    EXPECT_EQ(inspectLibrary((folder / "missing").string(), machine).kind,
              LibraryFile::Kind::Unreadable);
    EXPECT_EQ(inspectLibrary((folder / "folder").string(), machine).kind,
              LibraryFile::Kind::Unreadable);
    EXPECT_EQ(inspectLibrary((folder / "empty").string(), machine).kind, LibraryFile::Kind::Empty);
    EXPECT_EQ(inspectLibrary((folder / "text").string(), machine).kind, LibraryFile::Kind::Other);
    EXPECT_EQ(inspectLibrary((folder / "dos").string(), machine).kind, LibraryFile::Kind::Other)
        << "an MZ header without the PE signature it points at";
}

TEST(LibraryFile, DescribesAMachineByNameWidthAndByteOrder) {
    EXPECT_EQ(describe({ELFCLASS64, ELFDATA2LSB, EM_X86_64}), "x86-64 (64-bit)");
    EXPECT_EQ(describe({ELFCLASS32, ELFDATA2LSB, EM_ARM}), "ARM (32-bit)");
    EXPECT_EQ(describe({ELFCLASS64, ELFDATA2MSB, EM_S390}), "IBM Z (64-bit, big-endian)");
    EXPECT_EQ(describe({ELFCLASS32, ELFDATA2MSB, 4660}), "machine 4660 (32-bit, big-endian)");
}

}  // namespace
}  // namespace mendrick
