#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "printing/job_follow.h"

namespace quorvel {

/// What a printer sent back on a job's own connection after the last byte, and how the reading
/// ended.
struct BackChannel {
  enum class End {
    kClosed,    // the printer closed the connection
    kEnough,    // the reader had what it waited for
    kTimedOut,  // the time limit passed first
    kCapped,    // the reply went past the size limit; the first `cap` bytes are kept
    kStopped,   // the user stopped waiting (Ctrl-C)
  };
  std::string bytes;
  End end = End::kClosed;
};

/// How a back channel is read: for at most `limit`, at most `cap` bytes, until `enough` says the
/// reply is complete (checked after every read), or until `stopped`, when given, says the user
/// stopped waiting (asked several times a second).
struct BackChannelRead {
  std::chrono::milliseconds limit{60000};
  std::size_t cap = 64 * 1024;
  std::function<bool(std::string_view)> enough;
  std::function<bool()> stopped;
};

/// A job's end as the printer itself told it, and where the word came from: "pjl", "snmp".
struct DeviceVerdict {
  JobVerdict verdict = JobVerdict::kNotConfirmed;
  std::string source;
  std::string detail;  // one sentence: "1 page", "the printer did not answer PJL"
};

}  // namespace quorvel
