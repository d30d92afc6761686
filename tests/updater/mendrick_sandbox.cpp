// SPDX-License-Identifier: MIT
#include "tests/updater/mendrick_sandbox.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <elf.h>
#include <link.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace mendrick::testing {
namespace {

constexpr uid_t Nobody = 65534;

void check(bool ok, const std::string& what) {
    if (!ok)
        throw std::runtime_error(what);
}

[[noreturn]] void childFails() {
    ::_exit(127);
}

void becomeNobody() {
    if (::geteuid() != 0)
        return;
    if (::setgroups(0, nullptr) != 0 || ::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
        childFails();
}

void limitFileSize(rlim_t limit) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit value{limit, limit};
    if (::setrlimit(RLIMIT_FSIZE, &value) != 0)
        childFails();
}

std::string readAll(int fd) {
    std::string text;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return text;
        text.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace

std::string libraryContent(char seed, std::size_t size) {
    std::string content(size, '\0');
    unsigned state = static_cast<unsigned char>(seed);
    for (char& byte : content) {
        state = state * 1103515245u + 12345u;
        byte = static_cast<char>(state >> 16);
    }
    return content;
}

std::string windowsLibrary() {
    std::string content(0x200, '\0');
    content[0] = 'M';
    content[1] = 'Z';
    content[0x3C] = static_cast<char>(0x80);
    content.replace(0x80, 4, std::string("PE\0\0", 4));
    return content;
}

std::string libraryFor(const ElfMachine& machine) {
    std::string content = Sandbox::newLibrary();
    content[EI_CLASS] = static_cast<char>(machine.elfClass);
    const bool bigEndian = content[EI_DATA] == ELFDATA2MSB;
    content[18] = static_cast<char>(bigEndian ? machine.machine >> 8 : machine.machine & 0xFF);
    content[19] = static_cast<char>(bigEndian ? machine.machine & 0xFF : machine.machine >> 8);
    return content;
}

std::string libraryWithoutVersionSymbol() {
    std::string content = Sandbox::newLibrary();
    const std::string symbol = "_ZN7tessaro7versionEv";
    for (auto at = content.find(symbol); at != std::string::npos; at = content.find(symbol, at))
        content[at + symbol.size() - 1] = 'w';
    return content;
}

std::string libraryWithoutProgramHeaders() {
    std::string content = Sandbox::newLibrary();
    ElfW(Ehdr) header;
    std::memcpy(&header, content.data(), sizeof header);
    header.e_phoff = 0;
    header.e_phnum = 0;
    std::memcpy(content.data(), &header, sizeof header);
    return content;
}

std::string manySectionsLibrary() {
    constexpr std::size_t Size = 64 * 1024;
    constexpr std::size_t SectionsAt = 512;
    std::string content(Size, '\0');
    ElfW(Ehdr) header{};
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    const ElfMachine machine = currentMachine();
    header.e_ident[EI_CLASS] = machine.elfClass;
    header.e_ident[EI_DATA] = machine.byteOrder;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = ET_DYN;
    header.e_machine = machine.machine;
    header.e_version = EV_CURRENT;
    header.e_phoff = sizeof header;
    header.e_phnum = 1;
    header.e_phentsize = sizeof(ElfW(Phdr));
    header.e_ehsize = sizeof header;
    header.e_shoff = SectionsAt;
    header.e_shentsize = sizeof(ElfW(Shdr));
    header.e_shnum = (Size - SectionsAt) / sizeof(ElfW(Shdr));
    std::memcpy(content.data(), &header, sizeof header);
    ElfW(Phdr) load{};
    load.p_type = PT_LOAD;
    std::memcpy(content.data() + sizeof header, &load, sizeof load);
    ElfW(Shdr) table{};
    table.sh_type = SHT_DYNSYM;
    table.sh_entsize = sizeof(ElfW(Sym));
    table.sh_size = (64u << 20) / sizeof(ElfW(Sym)) * sizeof(ElfW(Sym));
    for (std::size_t i = 0; i < header.e_shnum; ++i)
        std::memcpy(content.data() + SectionsAt + i * sizeof table, &table, sizeof table);
    return content;
}

void writeFile(const fs::path& file, const std::string& content) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << content;
    check(out.good(), "cannot write " + file.string());
}

std::vector<std::string> listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> snapshot(const fs::path& folder) {
    std::vector<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const fs::file_status status = entry.symlink_status();
        std::string line = fs::relative(entry.path(), folder).string() + " " +
                           std::to_string(static_cast<int>(status.type())) + " " +
                           std::to_string(static_cast<int>(status.permissions()));
        if (status.type() == fs::file_type::regular)
            line += " " + fileContent(entry.path());
        entries.push_back(std::move(line));
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

Sandbox::Sandbox() {
    program_ = root_ / "bin";
    fs::permissions(root_, fs::perms(0755));
    fs::create_directory(programFolder());
    fs::copy_file(MENDRICK_BINARY, programFolder() / "mendrick");
    writeFile(payload(), newLibrary());
}

void Sandbox::moveProgram(const fs::path& folder) {
    fs::create_directories(folder.parent_path());
    fs::rename(program_, folder);
    program_ = folder;
}

// Qt wants a private runtime folder owned by the user it runs as.
std::string Sandbox::runtimeFolder(const ChildLimits& limits) const {
    const fs::path folder = root_ / "runtime";
    fs::create_directories(folder);
    fs::permissions(folder, fs::perms::owner_all);
    if (limits.unprivileged && ::geteuid() == 0)
        check(::chown(folder.c_str(), Nobody, Nobody) == 0, "cannot hand over " + folder.string());
    return folder.string();
}

void Sandbox::writeProfile(const std::string& quillonLines) {
    writeFile(profile(), "[Other]\r\nDestPath=/nowhere\r\n\r\n[Quillon]\r\n" + quillonLines);
}

void Sandbox::recordInstallation(const std::string& folder) {
    writeProfile("DestPath=" + folder + "\r\n");
}

fs::path Sandbox::installRecorded() {
    const fs::path folder = root_ / "Veltrana";
    install(folder);
    recordInstallation(folder.string());
    return folder;
}

void Sandbox::install(const fs::path& folder) {
    fs::create_directories(folder);
    writeFile(folder / "quillon", "main program");
    writeFile(folder / "Tessaro.ocx", oldLibrary());
}

RunResult Sandbox::run(const ChildLimits& limits) const {
    return run({{"MENDRICK_PROFILE", profile().string()}}, limits);
}

RunResult Sandbox::run(const std::map<std::string, std::string>& environment,
                       const ChildLimits& limits) const {
    std::map<std::string, std::string> variables = environment;
    variables["MENDRICK_NONINTERACTIVE"] = "1";
    variables["HOME"] = root_.string();
    variables["PATH"] = "/usr/bin:/bin";
    variables["XDG_RUNTIME_DIR"] = runtimeFolder(limits);
    std::vector<std::string> entries;
    for (const auto& [name, value] : variables)
        entries.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : entries)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    const std::string program = (programFolder() / "mendrick").string();
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

    int out[2];
    check(::pipe2(out, O_CLOEXEC) == 0, "cannot create a pipe");
    const pid_t child = ::fork();
    check(child >= 0, "cannot fork");
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        if (limits.unprivileged)
            becomeNobody();
        if (limits.fileSizeLimit)
            limitFileSize(*limits.fileSizeLimit);
        if (::chdir(root_.c_str()) != 0)
            childFails();
        ::execve(program.c_str(), argv, envp.data());
        childFails();
    }
    ::close(out[1]);
    RunResult result;
    result.output = readAll(out[0]);
    ::close(out[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

}  // namespace mendrick::testing
