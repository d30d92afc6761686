// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <tessaro/export.h>

namespace tessaro::host {

// Decoded image data, owned by the platform that loaded it (a QImage on Qt, nothing in
// the sim). The control never looks inside.
class TESSARO_EXPORT PictureData {
  public:
    virtual ~PictureData() = default;
};

// What a picture box shows: the empty picture, or an image loaded from a file.
class TESSARO_EXPORT Picture {
  public:
    Picture() = default;
    Picture(std::string source, std::shared_ptr<const PictureData> data)
        : source_(std::move(source)), data_(std::move(data)) {}

    bool isEmpty() const { return source_.empty(); }
    // The path the picture was loaded from, as given to the loader; "" when empty.
    const std::string& source() const { return source_; }
    const PictureData* data() const { return data_.get(); }

  private:
    std::string source_;
    std::shared_ptr<const PictureData> data_;
};

// Loads pictures from files.
class TESSARO_EXPORT PictureLoader {
  public:
    virtual ~PictureLoader() = default;

    // Loads the file at a Windows-style path (resolved through paths::resolve). The
    // empty path gives the empty picture. Throws tessaro::Error 53 when the file does
    // not exist, 481 when it is no picture.
    virtual Picture load(std::string_view path) = 0;
};

namespace errors {
inline constexpr int FileNotFound = 53;
inline constexpr int InvalidPicture = 481;
}  // namespace errors

}  // namespace tessaro::host
