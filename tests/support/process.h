// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaro::testing {

// The text quoted for the shell.
std::string shellQuoted(std::string_view text);

// Runs a shell command line; throws std::runtime_error naming it when it fails.
void runCommand(const std::string& command);

// Runs ffmpeg quietly on the given inputs and options, writing (over) target.
void ffmpeg(const std::string& arguments, const std::string& target);

struct ProcessResult {
    int exitCode = -1;  // -1: it did not end by itself
    std::string out;
    std::string err;
};

// Runs a program (argv[0], found on PATH) with its arguments, each passed as it stands, to
// its end; what it wrote to its standard output and error.
ProcessResult runProcess(const std::vector<std::string>& argv);

}  // namespace tessaro::testing
