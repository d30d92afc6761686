// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace tessaro::fuzzing {

// A file of this fuzzing process's own, rewritten with each input (the readers under test
// take paths), removed when the process ends.
inline std::string scratchFile(const std::string& name, const std::uint8_t* data,
                               std::size_t size) {
    struct Folder {
        std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("tessaro-fuzz-" + std::to_string(::getpid()));
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    const std::filesystem::path file = folder.path / name;
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file.string();
}

}  // namespace tessaro::fuzzing
