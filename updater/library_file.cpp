// SPDX-License-Identifier: MIT
#include "updater/library_file.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace mendrick {
namespace {

// The symbol a Tessaro control library exports: tessaro::version().
constexpr std::string_view kVersionSymbol = "_ZN7tessaro7versionEv";

// A string table or symbol table larger than this is no table of a control library.
constexpr std::uint64_t kLargestTable = 64u << 20;

class OpenFile {
  public:
    explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct stat info;
        regular_ = fd_ >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
        if (regular_)
            size_ = static_cast<std::uint64_t>(info.st_size);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }

    // Open, and a regular file.
    bool valid() const { return regular_; }
    std::uint64_t size() const { return size_; }

    // Reads `length` bytes at `offset`; false when they are not all inside the file.
    bool read(std::uint64_t offset, void* into, std::uint64_t length) const {
        if (offset > size_ || length > size_ - offset)
            return false;
        auto* bytes = static_cast<char*>(into);
        while (length > 0) {
            const ssize_t got = ::pread(fd_, bytes, length, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return false;
            bytes += got;
            offset += static_cast<std::uint64_t>(got);
            length -= static_cast<std::uint64_t>(got);
        }
        return true;
    }

    template <typename T>
    std::optional<std::vector<T>> readArray(std::uint64_t offset, std::uint64_t bytes) const {
        if (bytes > kLargestTable || bytes % sizeof(T) != 0)
            return std::nullopt;
        std::vector<T> items(bytes / sizeof(T));
        if (!read(offset, items.data(), bytes))
            return std::nullopt;
        return items;
    }

  private:
    int fd_;
    bool regular_ = false;
    std::uint64_t size_ = 0;
};

std::uint16_t machineField(const unsigned char* header, unsigned char byteOrder) {
    const unsigned first = header[18];
    const unsigned second = header[19];
    return static_cast<std::uint16_t>(byteOrder == ELFDATA2MSB ? (first << 8) | second
                                                               : (second << 8) | first);
}

// A Windows program file: the MZ header, whose field at 0x3C places the "PE\0\0" signature.
bool isWindowsFile(const OpenFile& file) {
    std::array<unsigned char, 0x40> dos{};
    if (!file.read(0, dos.data(), dos.size()) || dos[0] != 'M' || dos[1] != 'Z')
        return false;
    const std::uint32_t signatureAt = dos[0x3C] | (dos[0x3D] << 8) | (dos[0x3E] << 16) |
                                      (static_cast<std::uint32_t>(dos[0x3F]) << 24);
    std::array<char, 4> signature{};
    return file.read(signatureAt, signature.data(), signature.size()) &&
           std::memcmp(signature.data(), "PE\0\0", 4) == 0;
}

bool namesVersionSymbol(const std::vector<char>& strings, ElfW(Word) at) {
    return at < strings.size() && strings.size() - at > kVersionSymbol.size() &&
           std::memcmp(strings.data() + at, kVersionSymbol.data(), kVersionSymbol.size()) == 0 &&
           strings[at + kVersionSymbol.size()] == '\0';
}

bool definesVersionFunction(const ElfW(Sym) & symbol) {
    const unsigned binding = ELF64_ST_BIND(symbol.st_info);
    return symbol.st_shndx != SHN_UNDEF && ELF64_ST_TYPE(symbol.st_info) == STT_FUNC &&
           (binding == STB_GLOBAL || binding == STB_WEAK);
}

// Whether a dynamic symbol table of this machine's ELF shared object defines
// tessaro::version().
bool exportsVersion(const OpenFile& file) {
    ElfW(Ehdr) header;
    if (!file.read(0, &header, sizeof header) || header.e_type != ET_DYN ||
        header.e_shentsize != sizeof(ElfW(Shdr)))
        return false;
    const auto sections = file.readArray<ElfW(Shdr)>(
        header.e_shoff, std::uint64_t{header.e_shnum} * sizeof(ElfW(Shdr)));
    if (!sections)
        return false;
    for (const ElfW(Shdr) & table : *sections) {
        if (table.sh_type != SHT_DYNSYM || table.sh_entsize != sizeof(ElfW(Sym)) ||
            table.sh_link >= sections->size())
            continue;
        const ElfW(Shdr)& names = (*sections)[table.sh_link];
        const auto symbols = file.readArray<ElfW(Sym)>(table.sh_offset, table.sh_size);
        const auto strings = file.readArray<char>(names.sh_offset, names.sh_size);
        if (!symbols || !strings)
            continue;
        for (const ElfW(Sym) & symbol : *symbols) {
            if (definesVersionFunction(symbol) && namesVersionSymbol(*strings, symbol.st_name))
                return true;
        }
    }
    return false;
}

}  // namespace

LibraryFile inspectLibrary(const std::string& path, const ElfMachine& thisMachine) {
    LibraryFile result;
    const OpenFile file(path);
    if (!file.valid())
        return result;
    if (file.size() == 0) {
        result.kind = LibraryFile::Kind::empty;
        return result;
    }
    std::array<unsigned char, EI_NIDENT + 4> ident{};
    const bool elf = file.read(0, ident.data(), ident.size()) &&
                     std::memcmp(ident.data(), ELFMAG, SELFMAG) == 0 &&
                     (ident[EI_CLASS] == ELFCLASS32 || ident[EI_CLASS] == ELFCLASS64) &&
                     (ident[EI_DATA] == ELFDATA2LSB || ident[EI_DATA] == ELFDATA2MSB);
    if (!elf) {
        result.kind = isWindowsFile(file) ? LibraryFile::Kind::windows : LibraryFile::Kind::other;
        return result;
    }
    result.kind = LibraryFile::Kind::elf;
    result.machine = {ident[EI_CLASS], ident[EI_DATA], machineField(ident.data(), ident[EI_DATA])};
    result.tessaroControl = result.machine == thisMachine && exportsVersion(file);
    return result;
}

ElfMachine currentMachine() {
    return inspectLibrary("/proc/self/exe", {}).machine;
}

std::string describe(const ElfMachine& machine) {
    struct Name {
        std::uint16_t machine;
        const char* name;
    };
    static constexpr Name names[] = {
        {EM_X86_64, "x86-64"}, {EM_386, "x86"},
        {EM_AARCH64, "ARM64"}, {EM_ARM, "ARM"},
        {EM_RISCV, "RISC-V"},  {EM_PPC64, "POWER"},
        {EM_PPC, "PowerPC"},   {EM_S390, "IBM Z"},
        {EM_MIPS, "MIPS"},     {EM_LOONGARCH, "LoongArch"},
        {EM_SPARCV9, "SPARC"}, {EM_IA_64, "Itanium"},
    };
    std::string text = "machine " + std::to_string(machine.machine);
    for (const Name& name : names) {
        if (name.machine == machine.machine)
            text = name.name;
    }
    text += machine.elfClass == ELFCLASS64 ? " (64-bit" : " (32-bit";
    text += machine.byteOrder == ELFDATA2MSB ? ", big-endian)" : ")";
    return text;
}

}  // namespace mendrick
