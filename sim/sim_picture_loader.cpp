// SPDX-License-Identifier: MIT
#include "sim/sim_picture_loader.h"

#include <tessaro/error.h>
#include "platform/paths/paths.h"

namespace tessaro::sim {

namespace {

// The form under which two paths name the same file for paths::resolve.
std::string matchKey(std::string_view path) {
    std::string key;
    for (char c : path) {
        const char unified = c == '/' ? '\\' : c;
        if (unified == '\\' && !key.empty() && key.back() == '\\')
            continue;
        key += unified;
    }
    return paths::foldCase(key);
}

}  // namespace

void SimPictureLoader::declarePicture(std::string_view path) {
    pictures_.insert(matchKey(path));
}

void SimPictureLoader::declareNoPicture(std::string_view path) {
    noPictures_.insert(matchKey(path));
}

host::Picture SimPictureLoader::load(std::string_view path) {
    if (path.empty())
        return {};
    const std::string key = matchKey(path);
    if (noPictures_.contains(key))
        throw Error(host::errors::InvalidPicture, "no picture in " + std::string(path));
    if (!pictures_.contains(key))
        throw Error(host::errors::FileNotFound, "no file " + std::string(path));
    return host::Picture(std::string(path), nullptr);
}

}  // namespace tessaro::sim
