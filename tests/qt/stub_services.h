// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include <tessaro/catalogue.h>
#include <tessaro/command_service.h>
#include <tessaro/kavo_video_sync_widget.h>
#include <tessaro/module_folder.h>
#include "sim/fixed_module_folder.h"

namespace tessaro::qt::testing {

// A catalogue that has no files: every open fails as for a missing file.
class MissingCatalogue : public catalogue::Engine {
  public:
    std::shared_ptr<catalogue::Database> openDatabase(std::string_view, bool, bool,
                                                      std::string_view) override {
        throw Error(catalogue::errors::FileNotFound, "no catalogue");
    }
};

// A media service that accepts every command and records it.
class AcceptingMedia : public media::CommandService {
  public:
    bool execute(std::string_view command) override {
        commands.emplace_back(command);
        return true;
    }
    int sendString(std::string_view command, char* replyArea, unsigned replyLength,
                   std::intptr_t) override {
        commands.emplace_back(command);
        if (replyLength > 0)
            replyArea[0] = '\0';
        return 0;
    }
    std::vector<std::string> commands;
};

// The services of a widget that never reaches a real catalogue or media file.
struct StubServices {
    MissingCatalogue engine;
    AcceptingMedia media;
    host::FixedModuleFolder folder{"/nonexistent"};

    KavoVideoSyncWidget::Services services() { return {engine, media, folder}; }
};

}  // namespace tessaro::qt::testing
