// SPDX-License-Identifier: MIT
#include "qt/metafile_pictures.h"

#include <QPainter>
#include <QSvgRenderer>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/gd.h>
}

namespace tessaro::qt {
namespace {

constexpr double DotsPerInch = 96;
// Larger than any screen a picture box is shown on: a size beyond it is damage.
constexpr int LargestSide = 8192;

std::uint32_t little32(const QByteArray& bytes, int at) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData()) + at;
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

bool fits(unsigned width, unsigned height) {
    return width > 0 && height > 0 && width <= LargestSide && height <= LargestSide;
}

struct WmfSession {
    wmfAPI* api = nullptr;
    bool opened = false;
    ~WmfSession() {
        if (opened)
            wmf_mem_close(api);
        if (api)
            wmf_api_destroy(api);
    }
};

int appendTo(void* context, char* buffer, int length) {
    static_cast<QByteArray*>(context)->append(buffer, length);
    return length;
}

// libwmf draws through its own copy of gd and hands the picture out as PNG, as late as
// when the session ends (its gd image itself cannot be released by a caller).
bool drawWmfAsPng(const QByteArray& file, QByteArray& png) {
    WmfSession session;
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    wmfAPI* api = nullptr;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None)
        return false;
    session.api = api;
    QByteArray bytes = file;
    session.opened = wmf_mem_open(api, reinterpret_cast<unsigned char*>(bytes.data()),
                                  bytes.size()) == wmf_E_None;
    if (!session.opened)
        return false;
    wmfD_Rect box{};
    unsigned width = 0;
    unsigned height = 0;
    if (wmf_scan(session.api, 0, &box) != wmf_E_None ||
        wmf_display_size(session.api, &width, &height, DotsPerInch, DotsPerInch) != wmf_E_None ||
        !fits(width, height))
        return false;
    wmf_gd_t* device = WMF_GD_GetData(session.api);
    device->type = wmf_gd_png;
    device->flags |= WMF_GD_OUTPUT_MEMORY | WMF_GD_OWN_BUFFER;
    device->sink.context = &png;
    device->sink.function = appendTo;
    device->bbox = box;
    device->width = width;
    device->height = height;
    return wmf_play(session.api, 0, &box) == wmf_E_None;
}

}  // namespace

MetafileKind metafileKind(const QByteArray& file) {
    if (file.size() >= 44 && little32(file, 0) == 1 && little32(file, 40) == 0x464D4520)
        return MetafileKind::Emf;
    if (file.size() >= 22 && little32(file, 0) == 0x9AC6CDD7)
        return MetafileKind::Wmf;
    const bool wmfHeader = file.size() >= 18 && (file[0] == 1 || file[0] == 2) && file[1] == 0 &&
                           file[2] == 9 && file[3] == 0;
    return wmfHeader ? MetafileKind::Wmf : MetafileKind::None;
}

QImage renderWmf(const QByteArray& file) {
    QByteArray png;
    return drawWmfAsPng(file, png) ? QImage::fromData(png, "PNG") : QImage();
}

QImage renderEmf(const QByteArray& file) {
    generatorOptions options{};
    options.svgDelimiter = true;
    options.emfplus = true;
    char* svg = nullptr;
    size_t svgLength = 0;
    QByteArray bytes = file;
    const int converted =
        emf2svg(bytes.data(), static_cast<size_t>(bytes.size()), &svg, &svgLength, &options);
    const QByteArray document =
        converted && svg ? QByteArray(svg, static_cast<qsizetype>(svgLength)) : QByteArray();
    std::free(svg);
    QSvgRenderer renderer(document);
    const QSize size = renderer.defaultSize();
    if (!renderer.isValid() || !fits(size.width(), size.height()))
        return {};
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

}  // namespace tessaro::qt
