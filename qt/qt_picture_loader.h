// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>

#include <tessaro/picture.h>

namespace tessaro::qt {

// A picture's pixels as Qt decoded them.
class QtPictureData : public host::PictureData {
  public:
    explicit QtPictureData(QImage image) : image_(std::move(image)) {}
    const QImage& image() const { return image_; }

  private:
    QImage image_;
};

// The image of a picture loaded by QtPictureLoader; a null image for the empty picture
// or a picture from another loader.
QImage pictureImage(const host::Picture& picture);

// Loads pictures in any format Qt's image plugins read (BMP also run-length encoded, ICO,
// CUR, GIF, JPEG, PNG ...) and Windows metafiles (WMF, EMF; metafile_pictures.h).
class QtPictureLoader : public host::PictureLoader {
  public:
    // "" gives the empty picture; a path naming no regular file fails with 53, a file
    // that is none of those pictures with 481.
    host::Picture load(std::string_view path) override;
};

}  // namespace tessaro::qt
