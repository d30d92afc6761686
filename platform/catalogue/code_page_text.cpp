// SPDX-License-Identifier: MIT
#include "platform/catalogue/code_page_text.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <memory>

namespace tessaro::catalogue {
namespace {

struct IconvCloser {
    void operator()(void* handle) const { ::iconv_close(static_cast<iconv_t>(handle)); }
};

std::unique_ptr<void, IconvCloser> openConverter(int codePage) {
    const std::string name = "CP" + std::to_string(codePage == 0 ? 1252 : codePage);
    iconv_t handle = ::iconv_open("UTF-8", name.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1))
        handle = ::iconv_open("UTF-8", "CP1252");
    return std::unique_ptr<void, IconvCloser>(handle);
}

void appendUtf8(std::string& out, std::uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string codePageToUtf8(std::string_view bytes, int codePage) {
    const auto converter = openConverter(codePage);
    std::string out(bytes.size() * 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* outPos = out.data();
    std::size_t outLeft = out.size();
    while (inLeft > 0) {
        if (::iconv(static_cast<iconv_t>(converter.get()), &in, &inLeft, &outPos, &outLeft) !=
                static_cast<std::size_t>(-1) ||
            errno != EILSEQ)
            break;
        ++in;
        --inLeft;
    }
    out.resize(out.size() - outLeft);
    return out;
}

std::string jet4TextToUtf8(std::string_view bytes) {
    std::string out;
    const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const bool compressed = bytes.size() >= 2 && byteAt(0) == 0xFF && byteAt(1) == 0xFE;
    if (!compressed) {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            appendUtf8(out, byteAt(i) | (byteAt(i + 1) << 8));
        return out;
    }
    bool oneByte = true;
    std::size_t i = 2;
    while (i < bytes.size()) {
        if (byteAt(i) == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            appendUtf8(out, byteAt(i));
            ++i;
        } else if (i + 1 < bytes.size()) {
            appendUtf8(out, byteAt(i) | (byteAt(i + 1) << 8));
            i += 2;
        } else {
            break;
        }
    }
    return out;
}

}  // namespace tessaro::catalogue
