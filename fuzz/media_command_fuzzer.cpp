// SPDX-License-Identifier: MIT
// Arbitrary lines as media commands to the interpreter over the virtual-clock backend.
// A line "+N" lets N milliseconds pass; a status query runs through sendString into reply
// areas of every length from 0 to one past its reply, each allocated to exactly that
// length; a line "?COMMAND" runs COMMAND the same way; any other line runs through
// execute(). Each area must then hold the reply cut to fit, with its zero, or be left
// untouched when the command failed.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/media/interpreter.h"
#include "platform/paths/paths.h"
#include "sim/sim_backend.h"

namespace {

using namespace tessaro;

constexpr char Untouched = 0x55;
constexpr std::size_t LongestLine = 4096;
constexpr std::int64_t LongestWaitMs = 600000;

[[noreturn]] void finding(const std::string& command, std::size_t length, const char* what) {
    std::fprintf(stderr, "sendString(\"%s\", area of %zu): %s\n", command.c_str(), length, what);
    std::abort();
}

struct Answer {
    int number;
    std::string reply;
};

Answer ask(media::Interpreter& service, const std::string& command, std::size_t length) {
    const std::unique_ptr<char[]> area(new char[length]);
    std::memset(area.get(), Untouched, length);
    const int number = service.sendString(command, area.get(), static_cast<unsigned>(length), 0);
    if (number != 0) {
        for (std::size_t i = 0; i < length; ++i) {
            if (area[i] != Untouched)
                finding(command, length, "a failed query wrote into the area");
        }
        return {number, {}};
    }
    if (length == 0)
        return {0, {}};
    const void* end = std::memchr(area.get(), '\0', length);
    if (!end)
        finding(command, length, "the reply has no terminating zero");
    return {0, std::string(area.get(),
                           static_cast<std::size_t>(static_cast<const char*>(end) - area.get()))};
}

void askEveryLength(media::Interpreter& service, const std::string& command) {
    const Answer full = ask(service, command, LongestLine);
    for (std::size_t length = 0; length <= full.reply.size() + 1; ++length) {
        const Answer cut = ask(service, command, length);
        if (cut.number != full.number)
            finding(command, length, "the error number depends on the area's length");
        const std::size_t kept = length == 0 ? 0 : std::min(length - 1, full.reply.size());
        if (full.number == 0 && cut.reply != full.reply.substr(0, kept))
            finding(command, length, "the reply is not the full reply cut to the area");
    }
}

bool isStatus(std::string_view line) {
    const std::size_t start = line.find_first_not_of(" \t");
    return start != std::string_view::npos && paths::foldCase(line.substr(start, 6)) == "status";
}

void run(std::string_view line, sim::VirtualClock& clock, media::Interpreter& service) {
    if (line.starts_with('+')) {
        const std::int64_t wait = std::strtoll(std::string(line.substr(1)).c_str(), nullptr, 10);
        clock.advanceTo(clock.nowMs() + std::clamp<std::int64_t>(wait, 0, LongestWaitMs));
    } else if (line.starts_with('?')) {
        askEveryLength(service, std::string(line.substr(1)));
    } else if (isStatus(line)) {
        askEveryLength(service, std::string(line));
    } else {
        service.execute(line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sim::VirtualClock clock;
    auto backend = std::make_unique<media::SimBackend>(clock);
    backend->declareMedia("C:\\M\\video\\a.mpg", 10000, 25);
    backend->declareMedia("C:\\M\\sound\\mp2\\c1.mp2", 3000);
    backend->declareUndecodable("C:\\M\\video\\bad.mpg");
    media::Interpreter service(std::move(backend));
    service.setErrorReporter([](const std::string&) {});
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, std::min(end, LongestLine));
        run(line, clock, service);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    }
    return 0;
}
