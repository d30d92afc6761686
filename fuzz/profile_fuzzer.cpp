// SPDX-License-Identifier: MIT
// Arbitrary bytes as the profile file, read for the updater's entry into buffers of
// several sizes (each allocated to exactly that size): the count must fit the buffer,
// the text end with a zero there, and a second read give the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz/scratch_file.h"
#include "updater/profile_string.h"

namespace {

[[noreturn]] void finding(std::size_t size, const char* what) {
    std::fprintf(stderr, "buffer of %zu: %s\n", size, what);
    std::abort();
}

std::string readInto(const std::string& file, const char* section, const char* key,
                     std::size_t size) {
    const std::unique_ptr<char[]> buffer(new char[size]);
    const std::size_t count =
        mendrick::readProfileString(file, section, key, "fallback  ", {buffer.get(), size});
    if (size == 0) {
        if (count != 0)
            finding(size, "an empty buffer received characters");
        return {};
    }
    if (count >= size)
        finding(size, "the count does not leave room for the zero");
    if (buffer[count] != '\0')
        finding(size, "the text does not end with a zero at its count");
    return std::string(buffer.get(), count);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file = tessaro::fuzzing::scratchFile("win.ini", data, size);
    for (const auto& [section, key] :
         {std::pair{"Quillon", "DestPath"}, {" quillon ", "destpath"}, {"", ""}}) {
        const std::string whole = readInto(file, section, key, 4096);
        for (const std::size_t length : {0u, 1u, 2u, 16u, 255u}) {
            const std::string cut = readInto(file, section, key, length);
            if (cut != whole.substr(0, length == 0 ? 0 : length - 1))
                finding(length, "the text is not the whole value cut to the buffer");
        }
    }
    return 0;
}
