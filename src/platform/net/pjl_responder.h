#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "printing/pjl.h"

namespace quorvel {

/// How the virtual printer answers PJL: as a working printer, or with one of the failures a
/// client must cope with.
enum class PjlFault {
  kNone,
  kZeroPages,   // END with PAGES=0
  kCanceled,    // END with PAGES=0 and RESULT=USER_CANCELED
  kEndless,     // status messages without end, never the job's END
  kUnfinished,  // the start of an END message, then nothing, the connection held open
};

/// The virtual printer's PJL side: reads a job's bytes as they come and answers USTATUS JOB (at
/// the job's EOJ, with the pages `countPages` finds in the job's page bytes), INFO ID and INFO
/// STATUS, as a network printer does.
class PjlResponder {
 public:
  struct Settings {
    std::string deviceId;  // its MDL: names the model in INFO ID
    PjlFault fault = PjlFault::kNone;
    std::function<int(std::string_view)> countPages;
  };
  explicit PjlResponder(Settings settings) : settings_(std::move(settings)) {}

  /// Takes the next bytes of the job; returns what the printer answers now (often nothing).
  std::string Heard(std::string_view bytes);

  /// Whether the connection stays open after the client has finished sending.
  bool HoldOpen() const { return settings_.fault == PjlFault::kUnfinished && answeredEnd_; }

 private:
  std::string Command(std::string_view line);
  std::string JobEnd();

  Settings settings_;
  std::string pending_;  // bytes not yet read as a whole line or as page data
  bool inPjl_ = false;   // after a UEL, until the first byte that is no PJL command
  bool jobStatus_ = false;
  bool answeredEnd_ = false;
  std::string jobName_;
  std::string body_;  // the page data between the PJL commands, up to kMaxBody
};

}  // namespace quorvel
