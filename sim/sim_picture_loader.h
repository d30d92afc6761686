// SPDX-License-Identifier: MIT
#pragma once

#include <set>
#include <string>
#include <string_view>

#include <tessaro/picture.h>

namespace tessaro::sim {

// Pictures a test declares, matched as paths::resolve matches names: "\" and "/" alike,
// doubled separators harmless, letter case ignored. Nothing is read from disk.
class SimPictureLoader : public host::PictureLoader {
  public:
    void declarePicture(std::string_view path);
    // A file that exists but holds no picture: loading it fails with 481.
    void declareNoPicture(std::string_view path);

    // "" gives the empty picture; a declared picture gives a picture whose source is the
    // path as given; an undeclared path fails with 53.
    host::Picture load(std::string_view path) override;

  private:
    std::set<std::string> pictures_;
    std::set<std::string> noPictures_;
};

}  // namespace tessaro::sim
