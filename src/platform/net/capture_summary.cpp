#include <ctime>

#include "common/utf8_path.h"
#include "platform/net/capture_server.h"

namespace quorvel::net {
namespace {

std::string LocalTime(std::chrono::system_clock::time_point when) {
  const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
  char text[32] = "";
  if (const std::tm* local = std::localtime(&seconds)) {
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
  }
  return text;
}

std::string HowItEnded(const CapturedJob& job, const CaptureOptions& options) {
  switch (job.end) {
    case JobEnd::kClosed:
      return "";
    case JobEnd::kCutOff:
      return "  cut off at the limit of " + std::to_string(options.maxJobBytes) + " bytes";
    case JobEnd::kIdle:
      return "  ended after " + SecondsText(options.idleTimeout) + " without data";
    case JobEnd::kReset:
      return "  connection failed: " + job.reason;
    case JobEnd::kStopped:
      return "  ended by the server stopping";
    case JobEnd::kNotSaved:
      break;
  }
  return "  not saved: " + job.reason;
}

}  // namespace

std::string SummaryLine(const CapturedJob& job, const CaptureOptions& options) {
  const std::string file = job.file.empty() ? "-" : Utf8FromPath(job.file);
  const std::string what = job.content == Content::kQuery ? "  job control only (a query): no sheet"
                           : job.content == Content::kNothing ? "  no data: nothing saved"
                                                              : "";
  return LocalTime(job.ended) + "  " + job.peer + "  " + std::to_string(job.bytes) + " bytes  " +
         file + what + HowItEnded(job, options);
}

}  // namespace quorvel::net
