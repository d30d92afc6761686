// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QString>
#include <vector>

namespace tessaro::qt::testing {

// One picture of each format a course made on Windows may hold, each a plain colour,
// written into a folder with the tools that make such files: ImageMagick (BMP with
// run-length encoding, ICO, CUR, GIF, JPEG), libEMF's GDI calls (EMF, emf_writer.cpp) and a
// metafile written record by record as Windows' GDI writes one (WMF, which no Debian tool
// writes).
struct PictureFormat {
    QString file;
    QColor colour;
};

std::vector<PictureFormat> writePictureFormats(const QString& folder);

// True when the colour is within the few steps of a lossy format from the expected one.
bool nearColour(const QColor& seen, const QColor& expected);

}  // namespace tessaro::qt::testing
