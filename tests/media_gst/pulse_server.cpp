// SPDX-License-Identifier: MIT
#include "tests/media_gst/pulse_server.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "tests/media_gst/test_media.h"

extern char** environ;

namespace tessaro::media::testing {
namespace {

constexpr std::int16_t loud = 300;

// Starts a program with its output, and its messages when log is given, going to files.
pid_t spawn(const std::vector<std::string>& arguments, const std::string& output,
            const std::string& log = {}) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, output.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!log.empty())
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, log.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    if (failed != 0)
        throw std::runtime_error("cannot start " + arguments[0]);
    return pid;
}

void end(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = -1;
}

}  // namespace

PulseServer::PulseServer() : folder_(makeTempFolder("tessaro-pulse-")) {
    // The server keeps its state in the folder, not in the user's.
    home_.emplace("HOME", folder_.c_str());
    runtime_.emplace("XDG_RUNTIME_DIR", folder_.c_str());
    address_.emplace("PULSE_SERVER", ("unix:" + folder_ + "/native").c_str());
    server_ = spawn({"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                     "--use-pid-file=no", "--log-target=stderr", "-L",
                     "module-native-protocol-unix auth-anonymous=1 socket=" + folder_ + "/native",
                     "-L", "module-null-sink sink_name=tessaro_test"},
                    folder_ + "/server.out", folder_ + "/server.log");
    if (!waitUntil([this] { return run("pactl info >/dev/null 2>&1 && echo up") == "up\n"; }))
        throw std::runtime_error("the sound server did not come up; see " + folder_);
}

PulseServer::~PulseServer() {
    end(recorder_);
    end(server_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

void PulseServer::startRecording() {
    recorder_ = spawn({"parec", "--raw", "--format=s16le", "--rate=" + std::to_string(rate),
                       "--channels=1", "--latency-msec=50", "-d", "tessaro_test.monitor"},
                      folder_ + "/monitor.raw");
    // The monitor is recorded once the recorder's stream runs.
    waitUntil([this] {
        std::error_code missing;
        return std::filesystem::file_size(folder_ + "/monitor.raw", missing) > 0;
    });
    recordingSince_ = std::chrono::steady_clock::now();
}

std::vector<std::int16_t> PulseServer::stopRecording() {
    // Sound handed to the sink now is heard up to a sink's buffer later and reaches the
    // file a recorder's latency after that; the monitor runs on the server's clock, so
    // the file's length tells how far it has come, whatever the load on the machine.
    const auto until = std::chrono::steady_clock::now() - recordingSince_ + tail;
    const auto expected = static_cast<std::uintmax_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(until).count() * rate / 1000 * 2);
    waitUntil([&] {
        std::error_code missing;
        return std::filesystem::file_size(folder_ + "/monitor.raw", missing) >= expected;
    });
    end(recorder_);
    std::ifstream raw(folder_ + "/monitor.raw", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(raw)),
                            std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

std::vector<std::string> PulseServer::playbackStreams() const {
    std::istringstream lines(run("pactl list short sink-inputs"));
    std::vector<std::string> indexes;
    for (std::string line; std::getline(lines, line);)
        indexes.push_back(line.substr(0, line.find('\t')));
    return indexes;
}

std::string PulseServer::run(const std::string& command) const {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        while (std::size_t length = std::fread(chunk, 1, sizeof chunk, pipe))
            output.append(chunk, length);
        pclose(pipe);
    }
    return output;
}

std::vector<SoundSpan> soundSpans(const std::vector<std::int16_t>& samples,
                                  std::size_t quietSamples) {
    std::vector<SoundSpan> spans;
    for (std::size_t index = 0; index < samples.size(); ++index) {
        if (std::abs(samples[index]) <= loud)
            continue;
        if (spans.empty() || index - spans.back().last > quietSamples)
            spans.push_back(SoundSpan{index, index});
        spans.back().last = index;
    }
    return spans;
}

}  // namespace tessaro::media::testing
