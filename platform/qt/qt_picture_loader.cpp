// SPDX-License-Identifier: MIT
#include "platform/qt/qt_picture_loader.h"

#include <QFileInfo>
#include <string>

#include "platform/paths/paths.h"
#include "platform/values/error.h"

namespace tessaro::qt {

QImage pictureImage(const host::Picture& picture) {
    const auto* data = dynamic_cast<const QtPictureData*>(picture.data());
    return data ? data->image() : QImage();
}

host::Picture QtPictureLoader::load(std::string_view path) {
    if (path.empty())
        return {};
    const QString file = QString::fromStdString(paths::resolve(path));
    if (!QFileInfo(file).isFile())
        throw Error(host::errors::FileNotFound, "File not found: " + std::string(path));
    QImage image(file);
    if (image.isNull())
        throw Error(host::errors::InvalidPicture, "Invalid picture: " + std::string(path));
    return host::Picture(std::string(path), std::make_shared<QtPictureData>(std::move(image)));
}

}  // namespace tessaro::qt
