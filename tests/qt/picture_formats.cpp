// SPDX-License-Identifier: MIT
#include "tests/qt/picture_formats.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <stdexcept>
#include <string>

#include "tests/support/process.h"

namespace tessaro::qt::testing {
namespace {

using tessaro::testing::runCommand;

std::string quoted(const QString& path) {
    return tessaro::testing::shellQuoted(path.toStdString());
}

// ImageMagick writes icons only; a cursor is the same directory with type 2.
void makeCursor(const QString& icon, const QString& cursor) {
    QFile::copy(icon, cursor);
    QFile file(cursor);
    file.open(QIODevice::ReadWrite);
    file.seek(2);
    file.write(QByteArray("\x02", 1));
}

// A placeable metafile of 60 x 40 at 96 units an inch, filled with one solid brush.
void writeWmf(const QString& path, QRgb colour) {
    QByteArray records;
    QDataStream out(&records, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const auto record = [&](quint32 words, quint16 function) { out << words << function; };
    record(5, 0x020B);  // SetWindowOrg
    out << qint16(0) << qint16(0);
    record(5, 0x020C);  // SetWindowExt
    out << qint16(40) << qint16(60);
    record(7, 0x02FC);  // CreateBrushIndirect: solid
    out << quint16(0) << quint32(qRed(colour) | qGreen(colour) << 8 | qBlue(colour) << 16)
        << quint16(0);
    record(4, 0x012D);  // SelectObject
    out << quint16(0);
    record(7, 0x041B);  // Rectangle: bottom, right, top, left
    out << qint16(41) << qint16(61) << qint16(-1) << qint16(-1);
    record(3, 0x0000);  // EOF

    QByteArray file;
    QDataStream head(&file, QIODevice::WriteOnly);
    head.setByteOrder(QDataStream::LittleEndian);
    const quint16 placeable[] = {0xCDD7, 0x9AC6, 0, 0, 0, 60, 40, 96, 0, 0};
    quint16 checksum = 0;
    for (quint16 word : placeable) {
        head << word;
        checksum ^= word;
    }
    head << checksum;
    const quint32 words = 9 + static_cast<quint32>(records.size()) / 2;
    head << quint16(1) << quint16(9) << quint16(0x0300) << words << quint16(1) << quint32(7)
         << quint16(0);
    QFile target(path);
    if (!target.open(QIODevice::WriteOnly) || target.write(file + records) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

void writeEmf(const QString& path, QRgb colour) {
    runCommand(std::string(TESSARO_EMF_WRITER) + " " + quoted(path) + " " +
               std::to_string(qRed(colour)) + " " + std::to_string(qGreen(colour)) + " " +
               std::to_string(qBlue(colour)));
}

}  // namespace

std::vector<PictureFormat> writePictureFormats(const QString& folder) {
    const QDir dir(folder);
    const auto convert = [&](const char* colour, const std::string& output) {
        runCommand("convert -size 40x30 xc:" + std::string(colour) + " " + output);
    };
    convert("'#ff0000' -type palette -compress RLE",
            "bmp3:" + quoted(dir.filePath("pose-rle.bmp")));
    runCommand("convert -size 32x32 xc:'#00ff00' ico:" + quoted(dir.filePath("pose.ico")));
    runCommand("convert -size 32x32 xc:'#0000ff' ico:" + quoted(dir.filePath("icon.ico")));
    makeCursor(dir.filePath("icon.ico"), dir.filePath("pose.cur"));
    QFile::remove(dir.filePath("icon.ico"));
    convert("'#ffff00'", "gif:" + quoted(dir.filePath("pose.gif")));
    convert("'#ff00ff' -quality 95", "jpeg:" + quoted(dir.filePath("pose.jpg")));
    writeWmf(dir.filePath("pose.wmf"), qRgb(0, 0, 255));
    writeEmf(dir.filePath("pose.emf"), qRgb(255, 0, 0));
    return {{"pose-rle.bmp", QColor(255, 0, 0)}, {"pose.ico", QColor(0, 255, 0)},
            {"pose.cur", QColor(0, 0, 255)},     {"pose.gif", QColor(255, 255, 0)},
            {"pose.jpg", QColor(255, 0, 255)},   {"pose.wmf", QColor(0, 0, 255)},
            {"pose.emf", QColor(255, 0, 0)}};
}

bool nearColour(const QColor& seen, const QColor& expected) {
    return std::abs(seen.red() - expected.red()) < 24 &&
           std::abs(seen.green() - expected.green()) < 24 &&
           std::abs(seen.blue() - expected.blue()) < 24;
}

}  // namespace tessaro::qt::testing
