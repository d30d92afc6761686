// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace mendrick {

// The machine an ELF object is built for: its class (32 or 64 bit), byte order and
// machine number, as its identification bytes and header give them.
struct ElfMachine {
    unsigned char elfClass = 0;   // ELFCLASS32, ELFCLASS64
    unsigned char byteOrder = 0;  // ELFDATA2LSB, ELFDATA2MSB
    std::uint16_t machine = 0;    // EM_X86_64, EM_AARCH64, ...

    bool operator==(const ElfMachine&) const = default;
};

// What a file is, as far as loading it as the control library goes. Only the headers and
// the dynamic symbol table are read; every size, count and offset taken from the file is
// checked against the file before it is used.
struct LibraryFile {
    enum class Kind {
        unreadable,  // missing, a folder, or it cannot be read
        empty,
        windows,  // a Windows executable or library (MZ header with a PE signature)
        elf,      // an ELF object of `machine`
        other,    // anything else: damaged, or no program file at all
    };
    Kind kind = Kind::unreadable;
    ElfMachine machine;
    // An ELF shared object of the machine inspectLibrary was asked about that exports
    // tessaro::version(), the mark of a Tessaro control library.
    bool tessaroControl = false;
};

// Inspects the file at `path` (a POSIX path). The symbol table is looked into only when
// the file is an ELF object of `thisMachine`.
LibraryFile inspectLibrary(const std::string& path, const ElfMachine& thisMachine);

// The machine this program runs on: that of its own program file.
ElfMachine currentMachine();

// "x86-64 (64-bit)", "ARM64 (64-bit)", "machine 4660 (32-bit, big-endian)".
std::string describe(const ElfMachine& machine);

}  // namespace mendrick
