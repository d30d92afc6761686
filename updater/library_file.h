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

// What a file is, as far as loading it as the control library goes.
struct LibraryFile {
    enum class Kind {
        Unreadable,  // missing, no regular file, or it cannot be read
        Empty,
        Windows,  // a Windows executable or library (MZ header with a PE signature)
        Elf,      // an ELF object of `machine`
        Other,    // anything else: damaged, or no program file at all
    };
    Kind kind = Kind::Unreadable;
    ElfMachine machine;
    // An ELF shared object of the machine inspectLibrary was asked about, with a segment
    // to load, that exports tessaro::version(): a control library the installation can load.
    bool tessaroControl = false;
};

// What the file open at `fd` is, from its first bytes only: its kind and machine.
LibraryFile identifyLibrary(int fd);

// identifyLibrary, and for an ELF object of `thisMachine` whether it is a Tessaro control
// library. Each header table is read once, at most a few megabytes of them in all, and
// every offset, size and count taken from the file is checked against the file's size
// before anything is allocated for it. Reads with pread: the file offset is not moved.
LibraryFile inspectLibrary(int fd, const ElfMachine& thisMachine);

// inspectLibrary on the file at `path` (a POSIX path), opened without waiting: a named
// pipe or a device is unreadable.
LibraryFile inspectLibrary(const std::string& path, const ElfMachine& thisMachine);

// The machine this program runs on: that of its own program file.
ElfMachine currentMachine();

// "x86-64 (64-bit)", "ARM64 (64-bit)", "machine 4660 (32-bit, big-endian)".
std::string describe(const ElfMachine& machine);

}  // namespace mendrick
