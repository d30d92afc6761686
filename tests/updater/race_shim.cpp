// SPDX-License-Identifier: MIT
// Preloaded into mendrick by the hostile-update test: at one moment of the update it does
// what an attacker or an impatient user would do at that moment.
//   MENDRICK_SHIM_WHEN  "create": when the new file is created (every check of the
//                       installation and of the carried library is done, nothing copied);
//                       "rename": when it is renamed into place.
//   MENDRICK_SHIM_DO    "move FROM TO": rename FROM over TO;
//                       "overwrite FROM TO": write FROM's bytes into the file TO, in place;
//                       "signal N": send signal N to the process.
#include <dlfcn.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool done = false;

void copyInPlace(const char* from, const char* to) {
    const int in = ::open(from, O_RDONLY);
    const int out = ::open(to, O_WRONLY | O_TRUNC);
    char chunk[4096];
    ssize_t got;
    while (in >= 0 && out >= 0 && (got = ::read(in, chunk, sizeof chunk)) > 0) {
        if (::write(out, chunk, static_cast<std::size_t>(got)) != got)
            break;
    }
    ::close(in);
    ::close(out);
}

void actAt(const char* moment) {
    const char* when = std::getenv("MENDRICK_SHIM_WHEN");
    const char* what = std::getenv("MENDRICK_SHIM_DO");
    if (done || !when || !what || std::strcmp(when, moment) != 0)
        return;
    done = true;
    char verb[16] = {}, first[4096] = {}, second[4096] = {};
    std::sscanf(what, "%15s %4095s %4095s", verb, first, second);
    if (std::strcmp(verb, "move") == 0)
        ::rename(first, second);
    else if (std::strcmp(verb, "overwrite") == 0)
        copyInPlace(first, second);
    else if (std::strcmp(verb, "signal") == 0)
        ::kill(::getpid(), std::atoi(first));
}

template <typename F>
F next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

bool createsNewFile(const char* path, int flags) {
    return (flags & O_TMPFILE) == O_TMPFILE ||
           ((flags & O_CREAT) && std::strncmp(path, ".Tessaro.ocx.", 13) == 0);
}

int openatThrough(const char* name, int dirfd, const char* path, int flags, mode_t mode) {
    if (createsNewFile(path, flags))
        actAt("create");
    using Openat = int (*)(int, const char*, int, ...);
    static const Openat real = next<Openat>(name);
    return real(dirfd, path, flags, mode);
}

}  // namespace

extern "C" {

// Exported past the build's hidden default, so that the program binds to it.
[[gnu::visibility("default")]] int openat(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode =
        (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
    va_end(args);
    return openatThrough("openat", dirfd, path, flags, mode);
}

[[gnu::visibility("default")]] int openat64(int dirfd, const char* path, int flags, ...) {
    va_list args;
    va_start(args, flags);
    const mode_t mode =
        (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? va_arg(args, mode_t) : 0;
    va_end(args);
    return openatThrough("openat64", dirfd, path, flags, mode);
}

[[gnu::visibility("default")]] int renameat(int olddirfd, const char* oldpath, int newdirfd,
                                            const char* newpath) {
    actAt("rename");
    using Renameat = int (*)(int, const char*, int, const char*);
    static const Renameat real = next<Renameat>("renameat");
    return real(olddirfd, oldpath, newdirfd, newpath);
}

}  // extern "C"
