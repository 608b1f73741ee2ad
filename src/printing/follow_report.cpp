#include <string>
#include <vector>

#include "common/text.h"
#include "printing/job_follow.h"

namespace quorvel {
namespace {

// "processing, "message" (reason, reason)": a state with whatever the spooler said about it.
std::string StateLine(const char* state, const std::string& message,
                      const std::vector<std::string>& reasons) {
  std::string line = state;
  if (!message.empty()) {
    line += ", \"" + message + "\"";
  }
  if (!reasons.empty()) {
    line += " (" + quorvel::text::Join(reasons, ", ") + ")";
  }
  return line;
}

std::string JobText(const JobRef& job) {
  return "job " + std::to_string(job.id) + " on " + job.printer;
}

std::string Headline(const JobRef& job, const FollowResult& result) {
  const std::string state = StateName(result.job.state);
  if (result.verdict == JobVerdict::kNotPrinted) {
    if (result.job.state == JobState::kPending || result.job.state == JobState::kProcessing) {
      return "Not printed: " + JobText(job) + " is " + state + " and the printer is stopped.";
    }
    return "Not printed: " + JobText(job) + " is " + state + ".";
  }
  if (result.interrupted) {
    return "Stopped waiting: " + JobText(job) + " is left as it is (" + state + ").";
  }
  if (result.job.state == JobState::kGone) {
    return "Not confirmed: " + JobText(job) + " is no longer known to the spooler.";
  }
  return "Not confirmed after " + std::to_string(result.limit.count()) + " s: " + JobText(job) +
         " is still " + state + ".";
}

}  // namespace

std::vector<std::string> DescribeFollowResult(const JobRef& job, const FollowResult& result) {
  if (result.verdict == JobVerdict::kPrinted) {
    return {"Printed"};
  }
  std::vector<std::string> lines{Headline(job, result)};
  if (result.job.state != JobState::kGone) {
    lines.push_back("Job " + std::to_string(job.id) + ": " +
                    StateLine(StateName(result.job.state), result.job.message, result.job.reasons));
  }
  if (result.printerKnown) {
    lines.push_back(
        "Printer " + job.printer + ": " +
        StateLine(StateName(result.printer.state), result.printer.message, result.printer.reasons));
  }
  if (!result.failure.empty()) {
    lines.push_back("The spooler did not answer: " + result.failure);
  }
  return lines;
}

}  // namespace quorvel
