// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QImage>

namespace tessaro::qt {

// Windows metafiles, which courses made on Windows hold as pictures and Qt has no reader
// for: WMF drawn by libwmf, EMF turned into SVG by libemf2svg and drawn by Qt SVG, both at
// the screen's 96 dots per inch of the platform they were made for.
enum class MetafileKind { None, Wmf, Emf };

// What the file's first bytes say it is.
MetafileKind metafileKind(const QByteArray& file);

// The metafile's picture, drawn over white; a null image when its records draw nothing
// or it names a size beyond what a picture box could show.
QImage renderWmf(const QByteArray& file);
QImage renderEmf(const QByteArray& file);

}  // namespace tessaro::qt
