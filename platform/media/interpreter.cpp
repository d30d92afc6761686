#include "platform/media/interpreter.h"

#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <unordered_map>

#include "platform/media/command_parser.h"
#include "platform/media/command_runner.h"
#include "platform/media/failure_reports.h"
#include "platform/media/reply_format.h"
#include "platform/media/trace.h"
#include "platform/values/error.h"

namespace tessaro::media {
namespace {

void reportOnStderr(const std::string& message) {
    std::fprintf(stderr, "tessaro media: %s\n", message.c_str());
}

// "pause video: device not open", naming the command by its verb and device.
std::string failureText(const Command& command, const std::string& reason) {
    std::string text = command.verbWord.empty() ? "command" : command.verbWord;
    if (!command.device.empty())
        text += " " + command.device;
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
// nor is any text past the first few dozen.
class CommandReadings {
  public:
    // The reading of text. Throws tessaro::Error for a malformed command; failed() then
    // holds what was read of it.
    const Command& read(std::string_view text) {
        if (const auto known = kept_.find(text); known != kept_.end())
            return known->second;
        latest_ = Command{};
        parseCommand(text, latest_);
        if (latest_.verb == Verb::Open || kept_.size() >= keptTexts)
            return latest_;
        return kept_.emplace(std::string(text), latest_).first->second;
    }

    const Command& failed() const { return latest_; }

  private:
    static constexpr std::size_t keptTexts = 64;
    std::unordered_map<std::string, Command, TextHash, std::equal_to<>> kept_;
    Command latest_;
};

}  // namespace

struct Interpreter::Impl {
    explicit Impl(std::unique_ptr<PlayerBackend> backend) : runner(std::move(backend)) {}

    // Runs one command, keeping its outcome and its reading in `command`; returns the
    // reply ("" on failure).
    std::string run(std::string_view text, const Command*& command);
    void report(const Command& command);

    CommandRunner runner;
    CommandReadings readings;
    FailureReports reports;
    ErrorReporter reporter = reportOnStderr;
    Trace trace;
    Outcome outcome;
};

std::string Interpreter::Impl::run(std::string_view text, const Command*& command) {
    outcome = Outcome{};
    command = &readings.failed();
    try {
        command = &readings.read(text);
        if (command->verb == Verb::Open)
            reports.forget(command->device);
        return runner.run(*command);
    } catch (const Error& error) {
        outcome =
            Outcome{static_cast<unsigned>(error.number()), failureText(*command, error.text())};
    } catch (const std::exception& error) {
        outcome = Outcome{errors::InternalError, failureText(*command, error.what())};
    } catch (...) {
        outcome = Outcome{errors::InternalError, failureText(*command, "internal failure")};
    }
    return {};
}

void Interpreter::Impl::report(const Command& command) {
    if (!reports.firstTime(command.device, command.verbWord, outcome.number))
        return;
    try {
        reporter(outcome.text + " (media error " + std::to_string(outcome.number) + ")");
    } catch (...) {
        // A reporter that fails must not turn a failed command into an exception.
    }
}

Interpreter::Interpreter(std::unique_ptr<PlayerBackend> backend)
    : impl_(std::make_unique<Impl>(std::move(backend))) {}

Interpreter::~Interpreter() = default;

bool Interpreter::execute(std::string_view command) {
    const Command* parsed = nullptr;
    impl_->run(command, parsed);
    const Outcome& outcome = impl_->outcome;
    impl_->trace.record("execute", command, outcome.number, outcome.text);
    if (outcome.number != 0)
        impl_->report(*parsed);
    return outcome.number == 0;
}

unsigned Interpreter::sendString(std::string_view command, char* replyArea, unsigned replyLength,
                                 std::intptr_t) {
    const Command* parsed = nullptr;
    const std::string reply = impl_->run(command, parsed);
    const Outcome& outcome = impl_->outcome;
    impl_->trace.record("sendString", command, outcome.number,
                        outcome.number == 0 ? reply : outcome.text);
    if (outcome.number == 0)
        writeReply(reply, replyArea, replyLength);
    return outcome.number;
}

void Interpreter::setErrorReporter(ErrorReporter reporter) {
    impl_->reporter = reporter ? std::move(reporter) : ErrorReporter(reportOnStderr);
}

Interpreter::Outcome Interpreter::lastOutcome() const {
    return impl_->outcome;
}

}  // namespace tessaro::media
