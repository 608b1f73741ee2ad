#pragma once

#include <cstddef>
#include <iterator>

#include "common/exit_status.h"
#include "printing/job_follow.h"
#include "printing/print_flow.h"
#include "printing/printer_check.h"

namespace quorvel {

/// How a printer's send, follow-up or check ended, for one printer as for many.
enum class FleetOutcome {
  kPrinted,        // followed: the spooler reports the job completed
  kExecuted,       // the spooler (or the printer's port) took the job
  kReady,          // check: a raw job can reach the printer
  kNotConfirmed,   // followed: no verdict in time, the job vanished, or the wait was cut short
  kNotPrinted,     // followed: aborted, canceled, held, or the printer is stopped
  kNotReady,       // check: the printer does not take jobs or is stopped
  kNotRecognized,  // no printer of that name
  kFailed,         // the spooler or the printer could not be asked or refused the job
  kNotSent,        // Ctrl-C came before this printer's turn: nothing was sent
  kRefused,  // print auto: no page suits the printer, or its page goes with no --pjl; none sent
};

/// What an outcome means: its name in reports, how bad it is for a run over many printers
/// (0 for the successes), and the exit status it gives.
struct OutcomeRow {
  FleetOutcome outcome;
  const char* name;
  int severity;
  int exitStatus;
};

/// Every outcome, in the enumeration's order.
inline constexpr OutcomeRow kOutcomeTable[] = {
    {FleetOutcome::kPrinted, "printed", 0, kExitOk},
    {FleetOutcome::kExecuted, "executed", 0, kExitOk},
    {FleetOutcome::kReady, "ready", 0, kExitOk},
    {FleetOutcome::kNotConfirmed, "not confirmed", 1, kExitNotConfirmed},
    {FleetOutcome::kNotPrinted, "not printed", 2, kExitNotPrinted},
    {FleetOutcome::kNotReady, "not ready", 2, kExitNotPrinted},
    {FleetOutcome::kNotRecognized, "not recognized", 3, kExitNotRecognized},
    {FleetOutcome::kFailed, "failed", 4, kExitSendFailed},
    {FleetOutcome::kNotSent, "not sent", 4, kExitSendFailed},
    {FleetOutcome::kRefused, "refused", 5, kExitUsage},
};

inline constexpr std::size_t kFleetOutcomeCount = std::size(kOutcomeTable);

constexpr bool RowsInEnumOrder() {
  for (std::size_t i = 0; i < kFleetOutcomeCount; ++i) {
    if (static_cast<std::size_t>(kOutcomeTable[i].outcome) != i) {
      return false;
    }
  }
  return true;
}
static_assert(RowsInEnumOrder(), "kOutcomeTable lists the outcomes in the enumeration's order");

constexpr const OutcomeRow& RowOf(FleetOutcome outcome) {
  return kOutcomeTable[static_cast<std::size_t>(outcome)];
}

/// "printed", "executed", "ready", "not confirmed", "not printed", "not ready",
/// "not recognized", "failed", "not sent".
constexpr const char* OutcomeName(FleetOutcome outcome) {
  return RowOf(outcome).name;
}

/// How bad an outcome is for the run: 0 for the successes, then not confirmed (1), not printed
/// and not ready (2), not recognized (3), failed and not sent (4), refused (5).
constexpr int Severity(FleetOutcome outcome) {
  return RowOf(outcome).severity;
}

constexpr int ExitStatusOf(FleetOutcome outcome) {
  return RowOf(outcome).exitStatus;
}

constexpr bool Succeeded(FleetOutcome outcome) {
  return RowOf(outcome).severity == 0;
}

/// A send's outcome: executed, not recognized, or failed.
FleetOutcome OutcomeOf(PrintOutcome outcome);

/// A followed job's outcome: printed, not printed or not confirmed, as its verdict says.
FleetOutcome OutcomeOf(JobVerdict verdict);

/// A check's outcome: ready, not ready, or not recognized.
FleetOutcome OutcomeOf(CheckVerdict verdict);

}  // namespace quorvel
