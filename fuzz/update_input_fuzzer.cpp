// SPDX-License-Identifier: MIT
// Arbitrary bytes as what mendrick reads from files it does not trust: as the library it
// carries or finds installed, checked against this machine, and as the profile file.
// The library check must stay inside its budget (the sanitizers and libFuzzer's memory
// limit watch that) and call nothing a control that is not an ELF shared object of this
// machine; the profile's value must fit its buffer.
#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz/scratch_file.h"
#include "updater/library_file.h"
#include "updater/profile_string.h"

namespace {

[[noreturn]] void finding(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void checkLibrary(const std::string& file) {
    static const mendrick::ElfMachine machine = mendrick::currentMachine();
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        finding("the scratch file cannot be opened");
    const mendrick::LibraryFile identified = mendrick::identifyLibrary(fd);
    const mendrick::LibraryFile inspected = mendrick::inspectLibrary(fd, machine);
    ::close(fd);
    if (identified.kind != inspected.kind || identified.machine != inspected.machine)
        finding("identifying and inspecting the same file disagree");
    if (inspected.tessaroControl &&
        (inspected.kind != mendrick::LibraryFile::Kind::Elf || inspected.machine != machine))
        finding("a control library that is no ELF object of this machine");
}

void checkProfile(const std::string& file) {
    std::array<char, 255> buffer{};
    const std::size_t count = mendrick::readProfileString(file, "Quillon", "DestPath", "", buffer);
    if (count >= buffer.size() || buffer[count] != '\0')
        finding("the profile's value does not fit its buffer");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = tessaro::fuzzing::scratchFile("input", data, size);
    checkLibrary(file);
    checkProfile(file);
    return 0;
}
