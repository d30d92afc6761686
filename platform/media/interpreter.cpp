// SPDX-License-Identifier: MIT
#include "platform/media/interpreter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include <tessaro/error.h>
#include "platform/media/command_parser.h"
#include "platform/media/command_runner.h"
#include "platform/media/failure_reports.h"
#include "platform/media/reply_format.h"
#include "platform/media/time_format.h"
#include "platform/media/trace.h"

namespace tessaro::media {
namespace {

void reportOnStderr(const std::string& message) {
    std::fprintf(stderr, "tessaro media: %s\n", message.c_str());
}

// "pause video: device not open", naming the command by its verb and device.
std::string failureText(const std::string& verb, const std::string& device,
                        const std::string& reason) {
    std::string text = verb.empty() ? "command" : verb;
    if (!device.empty())
        text += " " + device;
    return text + ": " + reason;
}

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

// A timer tick sends the same few commands again and again ("status sound mode", "status
// video Position", "pause video"); their readings are kept, so that a repeat is looked up
// rather than read again. Open commands, which name a new file each time, are not kept,
// nor is any text past the first few dozen. A reading is shared, so it stays whole
// whatever commands run while it is in use.
class CommandReadings {
  public:
    using Reading = std::shared_ptr<const Command>;

    // Reads text into `reading`. Throws tessaro::Error for a malformed command, leaving
    // in `reading` what was read of it.
    void read(std::string_view text, Reading& reading) {
        if (const auto known = kept_.find(text); known != kept_.end()) {
            reading = known->second;
            return;
        }
        const auto fresh = std::make_shared<Command>();
        reading = fresh;
        parseCommand(text, *fresh);
        if (fresh->verb != Verb::Open && kept_.size() < KeptTexts)
            kept_.emplace(std::string(text), fresh);
    }

  private:
    static constexpr std::size_t KeptTexts = 64;
    std::unordered_map<std::string, Reading, TextHash, std::equal_to<>> kept_;
};

using Reading = CommandReadings::Reading;

}  // namespace

struct Interpreter::Impl {
    explicit Impl(std::unique_ptr<PlayerBackend> backend) : runner(std::move(backend)) {}

    // Runs one command, keeping its outcome and, in `command`, its reading; returns the
    // reply ("" on failure).
    std::string run(std::string_view text, Reading& command);
    // Reports a failure the first time it is seen on the device since its open.
    void report(const std::string& device, const std::string& verb, int number,
                const std::string& text);
    // A device that failed while playing is reported by whichever command finds it first.
    void reportStreamFailure(const Command& command);

    CommandRunner runner;
    CommandReadings readings;
    FailureReports reports;
    ErrorReporter reporter = reportOnStderr;
    Trace trace;
    Outcome outcome;
};

std::string Interpreter::Impl::run(std::string_view text, Reading& command) {
    static const Reading nothingRead = std::make_shared<const Command>();
    outcome = Outcome{};
    command = nothingRead;
    try {
        readings.read(text, command);
        if (command->verb == Verb::Open)
            reports.forget(command->device);
        return runner.run(*command);
    } catch (const Error& error) {
        outcome =
            Outcome{error.number(), failureText(command->verbWord, command->device, error.text())};
    } catch (const std::exception& error) {
        outcome = Outcome{errors::InternalError,
                          failureText(command->verbWord, command->device, error.what())};
    } catch (...) {
        outcome = Outcome{errors::InternalError,
                          failureText(command->verbWord, command->device, "internal failure")};
    }
    return {};
}

void Interpreter::Impl::report(const std::string& device, const std::string& verb, int number,
                               const std::string& text) {
    if (!reports.firstTime(device, verb, number))
        return;
    try {
        reporter(text + " (media error " + std::to_string(number) + ")");
    } catch (...) {
        // A reporter that fails must not turn a command into an exception.
    }
}

// Reported as a failure of the device's playing, whatever the command that found it.
void Interpreter::Impl::reportStreamFailure(const Command& command) {
    const std::optional<Error> failure = runner.takeStreamFailure(command);
    if (!failure)
        return;
    const int number = failure->number();
    const std::string text = failureText("play", command.device, failure->text());
    trace.record("failure", command.device, number, text);
    report(command.device, "play", number, text);
}

Interpreter::Interpreter(std::unique_ptr<PlayerBackend> backend)
    : impl_(std::make_unique<Impl>(std::move(backend))) {}

Interpreter::~Interpreter() = default;

// Reports run last and on copies: a modal box lets the host's events run, and with them
// further commands.
bool Interpreter::execute(std::string_view command) {
    Reading parsed;
    impl_->run(command, parsed);
    const Outcome outcome = impl_->outcome;
    impl_->trace.record("execute", command, outcome.number, outcome.text);
    if (outcome.number != 0)
        impl_->report(parsed->device, parsed->verbWord, outcome.number, outcome.text);
    impl_->reportStreamFailure(*parsed);
    return outcome.number == 0;
}

int Interpreter::sendString(std::string_view command, char* replyArea, unsigned replyLength,
                            std::intptr_t) {
    Reading parsed;
    const std::string reply = impl_->run(command, parsed);
    const Outcome outcome = impl_->outcome;
    impl_->trace.record("sendString", command, outcome.number,
                        outcome.number == 0 ? reply : outcome.text);
    if (outcome.number == 0)
        writeReply(reply, replyArea, replyLength);
    impl_->reportStreamFailure(*parsed);
    return outcome.number;
}

void Interpreter::setErrorReporter(ErrorReporter reporter) {
    impl_->reporter = reporter ? std::move(reporter) : ErrorReporter(reportOnStderr);
}

Interpreter::Outcome Interpreter::lastOutcome() const {
    return impl_->outcome;
}

namespace {

// What `foresee` makes of an open device's player; nullopt when the device is not open,
// or its player fails to answer: the host's slow poll then finds its state.
template <typename Foresight>
std::optional<double> forecastOf(CommandRunner& runner, std::string_view name,
                                 const Foresight& foresee) {
    Device* open = runner.device(name);
    if (!open)
        return std::nullopt;
    try {
        return foresee(*open, *open->player);
    } catch (...) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<double> Interpreter::msUntilStopped(std::string_view device) {
    return forecastOf(impl_->runner, device,
                      [](const Device& open, Player& player) -> std::optional<double> {
                          if (player.mode() != PlayerMode::Playing)
                              return open.seenPlaying ? std::optional<double>(0) : std::nullopt;
                          return player.msUntilEnd();
                      });
}

// The position reads `position` from the start time of that unit on; a playing device gets
// there at its own pace, the pace of the clock, unless it ends first. A length not known
// does not stop it.
std::optional<double> Interpreter::msUntilPosition(std::string_view device, double position) {
    return forecastOf(
        impl_->runner, device,
        [position](const Device& open, Player& player) -> std::optional<double> {
            if (player.mode() != PlayerMode::Playing)
                return std::nullopt;
            const double targetMs = toMilliseconds(static_cast<long long>(std::ceil(position)),
                                                   open.timeFormat, player.frameRate());
            if (const double length = player.lengthMs(); length > 0 && targetMs > length)
                return std::nullopt;
            return std::max(0.0, targetMs - player.positionMs());
        });
}

int Interpreter::wakeOnUnforeseenChange(std::function<void()> wake) {
    return impl_->runner.changes().listen(std::move(wake));
}

void Interpreter::forgetWake(int id) {
    impl_->runner.changes().stopListening(id);
}

}  // namespace tessaro::media
