// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <tessaro/command_service.h>

namespace tessaro::sim {

// A CommandService that records every command text, in order, before handing it to the
// service it decorates.
class RecordingCommandService : public media::CommandService {
  public:
    struct Entry {
        std::string text;
        bool query;  // sent through sendString

        bool operator==(const Entry&) const = default;
    };
    // What a query was handed: the first replyLength characters of the reply area as they
    // stood before the call (the part the service may write), the reply length and the
    // callback window.
    struct Query {
        std::string text;
        std::string areaBefore;
        unsigned replyLength;
        std::intptr_t callbackWindow;
    };

    explicit RecordingCommandService(media::CommandService& inner) : inner_(inner) {}

    bool execute(std::string_view command) override;
    int sendString(std::string_view command, char* replyArea, unsigned replyLength,
                   std::intptr_t callbackWindow) override;

    const std::vector<Entry>& entries() const { return entries_; }
    // The texts of execute() calls only, queries left out.
    std::vector<std::string> executed() const;
    // Every text, queries included.
    std::vector<std::string> all() const;
    const std::vector<Query>& queries() const { return queries_; }
    void clear() {
        entries_.clear();
        queries_.clear();
    }

  private:
    media::CommandService& inner_;
    std::vector<Entry> entries_;
    std::vector<Query> queries_;
};

}  // namespace tessaro::sim
