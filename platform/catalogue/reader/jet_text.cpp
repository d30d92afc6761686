// SPDX-License-Identifier: MIT
#include "platform/catalogue/reader/jet_text.h"

#include <iconv.h>

#include <cerrno>
#include <utility>
#include <vector>

namespace tessaro::catalogue {
namespace {

// The character sets of the Windows code pages a Jet 3 file may name.
const char* characterSet(int codePage) {
    static constexpr std::pair<int, const char*> Known[] = {
        {437, "IBM437"},        {850, "IBM850"},        {852, "IBM852"},
        {855, "IBM855"},        {860, "IBM860"},        {861, "IBM861"},
        {862, "IBM862"},        {865, "IBM865"},        {866, "IBM866"},
        {869, "IBM869"},        {874, "WINDOWS-874"},   {932, "SHIFT-JIS"},
        {936, "WINDOWS-936"},   {950, "BIG-5"},         {951, "BIG5-HKSCS"},
        {1200, "UTF-16LE"},     {1201, "UTF-16BE"},     {1250, "WINDOWS-1250"},
        {1251, "WINDOWS-1251"}, {1252, "WINDOWS-1252"}, {1253, "WINDOWS-1253"},
        {1254, "WINDOWS-1254"}, {1255, "WINDOWS-1255"}, {1256, "WINDOWS-1256"},
        {1257, "WINDOWS-1257"}, {1258, "WINDOWS-1258"}, {1361, "CP1361"},
        {12000, "UTF-32LE"},    {12001, "UTF-32BE"},    {20866, "KOI8-R"},
        {20932, "EUC-JP"},      {21866, "KOI8-U"},      {28591, "ISO-8859-1"},
        {28592, "ISO-8859-2"},  {28593, "ISO-8859-3"},  {28594, "ISO-8859-4"},
        {28595, "ISO-8859-5"},  {28596, "ISO-8859-6"},  {28597, "ISO-8859-7"},
        {28598, "ISO-8859-8"},  {28599, "ISO-8859-9"},  {28503, "ISO-8859-13"},
        {28505, "ISO-8859-15"}, {51932, "EUC-JP"},      {51936, "EUC-CN"},
        {51949, "EUC-KR"},      {65000, "UTF-7"},       {65001, "UTF-8"}};
    for (const auto& [number, name] : Known) {
        if (number == codePage)
            return name;
    }
    return "CP1252";
}

// Jet 4's compressed form (after its FF FE mark) as UCS-2 little-endian.
std::vector<char> expanded(std::span<const std::uint8_t> stored) {
    std::vector<char> out;
    out.reserve(stored.size() * 2);
    bool oneByte = true;
    for (std::size_t i = 0; i < stored.size();) {
        if (stored[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            out.push_back(static_cast<char>(stored[i++]));
            out.push_back('\0');
        } else if (i + 1 < stored.size()) {
            out.push_back(static_cast<char>(stored[i++]));
            out.push_back(static_cast<char>(stored[i++]));
        } else {
            break;
        }
    }
    return out;
}

}  // namespace

JetText::JetText(jet::Version version, int codePage)
    : version_(version),
      converter_(::iconv_open(
          "UTF-8", version == jet::Version::Jet3 ? characterSet(codePage) : "UCS-2LE")) {}

JetText::~JetText() {
    if (converter_ != reinterpret_cast<void*>(-1))
        ::iconv_close(static_cast<iconv_t>(converter_));
}

std::string JetText::utf8(std::span<const std::uint8_t> stored) const {
    if (stored.empty())
        return {};
    const bool jet3 = version_ == jet::Version::Jet3;
    std::vector<char> input(stored.begin(), stored.end());
    if (!jet3 && stored.size() >= 2 && stored[0] == 0xFF && stored[1] == 0xFE)
        input = expanded(stored.subspan(2));
    // UTF-8 takes at most three bytes for each stored byte, whatever the form.
    std::string out(stored.size() * 3 + 15, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* outAt = out.data();
    std::size_t outLeft = out.size();
    const auto converter = static_cast<iconv_t>(converter_);
    while (outLeft > 0) {
        ::iconv(converter, &in, &inLeft, &outAt, &outLeft);
        if (!jet3 && inLeft <= 1)
            break;
        if (inLeft == 0 || outLeft == 0 || errno == E2BIG)
            break;
        // A character the conversion refuses stands as '?'.
        const std::size_t skipped = jet3 ? 1 : 2;
        in += skipped;
        inLeft -= skipped;
        *outAt++ = '?';
        --outLeft;
    }
    // A character set that holds a character back, waiting for what may combine with it,
    // hands it out here, so that it ends this text and does not start the next.
    ::iconv(converter, nullptr, nullptr, &outAt, &outLeft);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace tessaro::catalogue
