// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <tessaro/catalogue.h>
#include <tessaro/kavo_video_sync.h>

namespace tessaro {

// The instance fields, under the names the behaviour is written in. At creation numbers
// are 0, flags False, texts empty, handles empty.
struct KavoVideoSyncFields {
    std::shared_ptr<catalogue::Database> db;
    std::shared_ptr<catalogue::Recordset> rs;
    double AudioNo = 0;
    std::string ClipFile;
    std::string ClipAction;
    std::int16_t ClipStart = 0;
    std::int16_t ClipEnd = 0;
    double ClipLen = 0;
    std::string VideoFile;
    Flag LastClip = False;
    std::string VideoStatus;
    std::string SoundStatus;
    Flag PhotoPreview = False;
    Flag VideoPreview = False;
    Flag VideoMode = False;
    std::int16_t TotalRec = 0;
    std::string AsanaNaME;
    std::string Resourcedir;
    // Number of the last error recorded by an ignore-and-continue step; 0 when none.
    int LastError = 0;
};

}  // namespace tessaro
