// SPDX-License-Identifier: MIT
#include "qt/qt_picture_loader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <string>

#include "qt/metafile_pictures.h"

#include <tessaro/error.h>
#include "platform/paths/paths.h"

namespace tessaro::qt {

QImage pictureImage(const host::Picture& picture) {
    const auto* data = dynamic_cast<const QtPictureData*>(picture.data());
    return data ? data->image() : QImage();
}

namespace {

// Enough of a file's head to tell a metafile by.
constexpr qint64 HeadBytes = 64;

QImage decoded(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    switch (metafileKind(file.peek(HeadBytes))) {
        case MetafileKind::Wmf:
            return renderWmf(file.readAll());
        case MetafileKind::Emf:
            return renderEmf(file.readAll());
        case MetafileKind::None:
            break;
    }
    QImageReader reader(&file, QFileInfo(path).suffix().toLatin1());
    reader.setDecideFormatFromContent(true);
    return reader.read();
}

}  // namespace

host::Picture QtPictureLoader::load(std::string_view path) {
    if (path.empty())
        return {};
    const QString file = QString::fromStdString(paths::resolve(path));
    if (!QFileInfo(file).isFile())
        throw Error(host::errors::FileNotFound, "File not found: " + std::string(path));
    QImage image = decoded(file);
    if (image.isNull())
        throw Error(host::errors::InvalidPicture, "Invalid picture: " + std::string(path));
    return host::Picture(std::string(path), std::make_shared<QtPictureData>(std::move(image)));
}

}  // namespace tessaro::qt
