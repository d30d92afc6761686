// SPDX-License-Identifier: MIT
#include "tests/writer/tool_runner.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace tessaro::testing {
namespace {

void drain(int fd, std::string& into, bool& open) {
    std::array<char, 65536> buffer;
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n > 0) {
        into.append(buffer.data(), static_cast<std::size_t>(n));
    } else {
        open = false;
    }
}

// Splits mdb-export's CSV: fields separated by commas, text quoted with doubled quotes
// inside, line breaks allowed inside quotes.
std::vector<ExportedRow> parseCsv(const std::string& text) {
    std::vector<ExportedRow> rows;
    ExportedRow row;
    std::optional<std::string> field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field->push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field->push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
            field = field.value_or("");
        } else if (c == ',' || c == '\n') {
            row.push_back(field);
            field.reset();
            if (c == '\n') {
                rows.push_back(std::move(row));
                row.clear();
            }
        } else {
            field = field.value_or("") + c;
        }
    }
    return rows;
}

}  // namespace

ToolResult runTool(const std::vector<std::string>& argv) {
    int outPipe[2];
    int errPipe[2];
    if (::pipe(outPipe) != 0 || ::pipe(errPipe) != 0) {
        throw std::runtime_error("pipe failed");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    ToolResult result;
    bool outOpen = true;
    bool errOpen = true;
    while (spawned == 0 && (outOpen || errOpen)) {
        pollfd fds[2] = {{outOpen ? outPipe[0] : -1, POLLIN, 0},
                         {errOpen ? errPipe[0] : -1, POLLIN, 0}};
        ::poll(fds, 2, -1);
        if (fds[0].revents) {
            drain(outPipe[0], result.out, outOpen);
        }
        if (fds[1].revents) {
            drain(errPipe[0], result.err, errOpen);
        }
    }
    ::close(outPipe[0]);
    ::close(errPipe[0]);
    if (spawned != 0) {
        throw std::runtime_error("cannot run " + argv.front());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessaro-writer-XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string mdbVersion(const std::string& file) {
    const auto result = runTool({"mdb-ver", file});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out.substr(0, result.out.find('\n'));
}

std::vector<std::string> mdbTables(const std::string& file) {
    const auto result = runTool({"mdb-tables", "-1", file});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::vector<std::string> tables;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        tables.push_back(line);
    }
    return tables;
}

std::vector<ExportedRow> mdbExport(const std::string& file, const std::string& table) {
    const auto result = runTool({"mdb-export", file, table});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    auto rows = parseCsv(result.out);
    if (!rows.empty()) {
        rows.erase(rows.begin());
    }
    return rows;
}

}  // namespace tessaro::testing
