// SPDX-License-Identifier: MIT
#include "tests/support/process.h"

#include <sys/wait.h>

#include <cstdlib>
#include <stdexcept>

#include "tests/support/temp_folder.h"

namespace tessaro::testing {

std::string shellQuoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

void runCommand(const std::string& command) {
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

void ffmpeg(const std::string& arguments, const std::string& target) {
    runCommand("ffmpeg -nostdin -loglevel error -y " + arguments + " " + shellQuoted(target));
}

ProcessResult runProcess(const std::vector<std::string>& argv) {
    const TempFolder scratch("tessaro-process");
    std::string command;
    for (const std::string& a : argv)
        command += shellQuoted(a) + " ";
    command += ">" + shellQuoted((scratch / "out").string()) + " 2>" +
               shellQuoted((scratch / "err").string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, fileContent(scratch / "out"),
            fileContent(scratch / "err")};
}

}  // namespace tessaro::testing
