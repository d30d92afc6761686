// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>

namespace tessaro::render {

// Tells the user how a run goes: on a terminal a bar ("asana i of N", the percent of
// the current render); with --json one object per line on stdout and nothing else;
// otherwise one line per finished asana.
class Progress {
  public:
    Progress(bool json, bool terminal) : json_(json), terminal_(terminal && !json) {}

    void started(int index, int count, const std::string& asana);
    void advanced(double fraction);
    // The render of the current asana is complete; `result` describes it.
    void rendered(const std::string& file, nlohmann::ordered_json result);
    // The current asana failed; the message also goes to stderr.
    void failed(const std::string& message);
    // The index page is written (course renders).
    void indexWritten(const std::string& path);

  private:
    void clearBar();

    bool json_;
    bool terminal_;
    int index_ = 0;
    int count_ = 0;
    std::string asana_;
    int percent_ = -1;
    bool barShown_ = false;
};

}  // namespace tessaro::render
