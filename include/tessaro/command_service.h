// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include <tessaro/export.h>

namespace tessaro::media {

// The media command service: devices opened, driven and queried by command strings
// ("open X alias video type mpegVideo  style child parent 1234", "play sound",
// "status video Position", "close all"), with the classic contracts. Never throws.
// A device that fails while it plays (a stream damaged midway, a file no longer
// readable) stops there and reads as stopped; the failure is reported once, through the
// error reporter, by whichever call on that device finds it first, execute or sendString.
// A sound device played to its end reads as stopped once its last sample has been handed
// to the audio output, no earlier than the output's latency before that sample is heard:
// the latency its sink reports, at most 30 ms (none reported: as the sample is heard by
// the output's clock). Closed then, its sound still plays out, and a clip opened and
// played next follows on in the same stream without a gap. Its position then reads its
// length.
class TESSARO_EXPORT CommandService {
  public:
    virtual ~CommandService() = default;

    // Runs a command. On failure reports it through the service's error reporter and
    // returns false.
    virtual bool execute(std::string_view command) = 0;

    // Runs a command (in practice a "status" query) and writes its reply as a C string
    // into replyArea, cut to replyLength - 1 characters. Returns 0 or the error number;
    // on failure the reply area is left as it was and nothing is reported.
    // callbackWindow is accepted and ignored.
    virtual int sendString(std::string_view command, char* replyArea, unsigned replyLength,
                           std::intptr_t callbackWindow) = 0;
};

// Receives the text of a failed execute(), for the host to show (a modal box, stderr).
using ErrorReporter = std::function<void(const std::string& message)>;

// Classic error numbers of the service.
namespace errors {
inline constexpr int InvalidDeviceId = 257;
inline constexpr int UnrecognizedKeyword = 259;
inline constexpr int UnrecognizedCommand = 261;
inline constexpr int DeviceNotOpen = 263;
inline constexpr int CannotLoadDriver = 266;
inline constexpr int BadInteger = 270;
inline constexpr int MissingParameter = 273;
inline constexpr int UnsupportedFunction = 274;
inline constexpr int FileNotFound = 275;
inline constexpr int InternalError = 277;
inline constexpr int OutOfRange = 282;
inline constexpr int DuplicateAlias = 289;
inline constexpr int BadTimeFormat = 293;
inline constexpr int NoClosingQuote = 294;
inline constexpr int InvalidFile = 296;
}  // namespace errors

}  // namespace tessaro::media
