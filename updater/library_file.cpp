// SPDX-License-Identifier: MIT
#include "updater/library_file.h"

#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace mendrick {
namespace {

// The symbol a Tessaro control library exports: tessaro::version().
constexpr std::string_view VersionSymbol = "_ZN7tessaro7versionEv";

// All the header tables the check reads together stay below this: a control library's
// tables take some 40 KB, and a crafted file cannot make the check read or allocate more.
constexpr std::uint64_t TableBudget = 4u << 20;

// A regular file read at offsets, each read checked against the file's size first and
// charged to the table budget before anything is allocated for it.
class FileReader {
  public:
    explicit FileReader(int fd) : fd_(fd) {
        struct stat info;
        regular_ = ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode);
        if (regular_)
            size_ = static_cast<std::uint64_t>(info.st_size);
    }

    bool regular() const { return regular_; }
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

    // `count` items of `entrySize` bytes at `offset`: nothing when the entry size is not
    // that of T, the table does not lie inside the file, or it would overrun the budget.
    template <typename T>
    std::optional<std::vector<T>> readTable(std::uint64_t offset, std::uint64_t count,
                                            std::uint64_t entrySize) {
        if (entrySize != sizeof(T) || count > size_ / sizeof(T))
            return std::nullopt;
        const std::uint64_t bytes = count * sizeof(T);
        if (offset > size_ || bytes > size_ - offset || bytes > budget_)
            return std::nullopt;
        budget_ -= bytes;
        std::vector<T> items(count);
        if (!read(offset, items.data(), bytes))
            return std::nullopt;
        return items;
    }

  private:
    int fd_;
    bool regular_ = false;
    std::uint64_t size_ = 0;
    std::uint64_t budget_ = TableBudget;
};

std::uint16_t machineField(const unsigned char* header, unsigned char byteOrder) {
    const unsigned first = header[18];
    const unsigned second = header[19];
    return static_cast<std::uint16_t>(byteOrder == ELFDATA2MSB ? (first << 8) | second
                                                               : (second << 8) | first);
}

// A Windows program file: the MZ header, whose field at 0x3C places the "PE\0\0" signature.
bool isWindowsFile(const FileReader& file) {
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
    return at < strings.size() && strings.size() - at > VersionSymbol.size() &&
           std::memcmp(strings.data() + at, VersionSymbol.data(), VersionSymbol.size()) == 0 &&
           strings[at + VersionSymbol.size()] == '\0';
}

bool definesVersionFunction(const ElfW(Sym) & symbol) {
    const unsigned binding = ELF64_ST_BIND(symbol.st_info);
    return symbol.st_shndx != SHN_UNDEF && ELF64_ST_TYPE(symbol.st_info) == STT_FUNC &&
           (binding == STB_GLOBAL || binding == STB_WEAK);
}

// What the dynamic loader insists on before it maps anything: a shared object with at
// least one segment to load.
bool loadableSharedObject(FileReader& file, const ElfW(Ehdr) & header) {
    if (header.e_type != ET_DYN)
        return false;
    const auto segments =
        file.readTable<ElfW(Phdr)>(header.e_phoff, header.e_phnum, header.e_phentsize);
    return segments && std::any_of(segments->begin(), segments->end(),
                                   [](const ElfW(Phdr) & s) { return s.p_type == PT_LOAD; });
}

// Whether the dynamic symbol table, the first one as the loader takes it, defines
// tessaro::version().
bool exportsVersion(FileReader& file, const ElfW(Ehdr) & header) {
    const auto sections =
        file.readTable<ElfW(Shdr)>(header.e_shoff, header.e_shnum, header.e_shentsize);
    if (!sections)
        return false;
    const auto table = std::find_if(sections->begin(), sections->end(),
                                    [](const ElfW(Shdr) & s) { return s.sh_type == SHT_DYNSYM; });
    if (table == sections->end() || table->sh_link >= sections->size() ||
        table->sh_entsize != sizeof(ElfW(Sym)) || table->sh_size % sizeof(ElfW(Sym)) != 0)
        return false;
    const ElfW(Shdr)& names = (*sections)[table->sh_link];
    const auto symbols = file.readTable<ElfW(Sym)>(
        table->sh_offset, table->sh_size / sizeof(ElfW(Sym)), sizeof(ElfW(Sym)));
    if (!symbols)
        return false;
    const auto strings = file.readTable<char>(names.sh_offset, names.sh_size, 1);
    if (!strings)
        return false;
    return std::any_of(symbols->begin(), symbols->end(), [&](const ElfW(Sym) & symbol) {
        return definesVersionFunction(symbol) && namesVersionSymbol(*strings, symbol.st_name);
    });
}

LibraryFile identify(const FileReader& file) {
    LibraryFile result;
    if (!file.regular())
        return result;
    if (file.size() == 0) {
        result.kind = LibraryFile::Kind::Empty;
        return result;
    }
    std::array<unsigned char, EI_NIDENT + 4> ident{};
    const bool elf = file.read(0, ident.data(), ident.size()) &&
                     std::memcmp(ident.data(), ELFMAG, SELFMAG) == 0 &&
                     (ident[EI_CLASS] == ELFCLASS32 || ident[EI_CLASS] == ELFCLASS64) &&
                     (ident[EI_DATA] == ELFDATA2LSB || ident[EI_DATA] == ELFDATA2MSB);
    if (!elf) {
        result.kind = isWindowsFile(file) ? LibraryFile::Kind::Windows : LibraryFile::Kind::Other;
        return result;
    }
    result.kind = LibraryFile::Kind::Elf;
    result.machine = {ident[EI_CLASS], ident[EI_DATA], machineField(ident.data(), ident[EI_DATA])};
    return result;
}

}  // namespace

LibraryFile identifyLibrary(int fd) {
    return identify(FileReader(fd));
}

LibraryFile inspectLibrary(int fd, const ElfMachine& thisMachine) {
    FileReader file(fd);
    LibraryFile result = identify(file);
    if (result.kind != LibraryFile::Kind::Elf || result.machine != thisMachine)
        return result;
    ElfW(Ehdr) header;
    result.tessaroControl = file.read(0, &header, sizeof header) &&
                            loadableSharedObject(file, header) && exportsVersion(file, header);
    return result;
}

LibraryFile inspectLibrary(const std::string& path, const ElfMachine& thisMachine) {
    // Non-blocking, so that a named pipe or a device is looked at and refused, not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {};
    const LibraryFile result = inspectLibrary(fd, thisMachine);
    ::close(fd);
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
    static constexpr Name Names[] = {
        {EM_X86_64, "x86-64"}, {EM_386, "x86"},
        {EM_AARCH64, "ARM64"}, {EM_ARM, "ARM"},
        {EM_RISCV, "RISC-V"},  {EM_PPC64, "POWER"},
        {EM_PPC, "PowerPC"},   {EM_S390, "IBM Z"},
        {EM_MIPS, "MIPS"},     {EM_LOONGARCH, "LoongArch"},
        {EM_SPARCV9, "SPARC"}, {EM_IA_64, "Itanium"},
    };
    std::string text = "machine " + std::to_string(machine.machine);
    for (const Name& name : Names) {
        if (name.machine == machine.machine)
            text = name.name;
    }
    text += machine.elfClass == ELFCLASS64 ? " (64-bit" : " (32-bit";
    text += machine.byteOrder == ELFDATA2MSB ? ", big-endian)" : ")";
    return text;
}

}  // namespace mendrick
