#include "printing/outcomes.h"

namespace quorvel {

FleetOutcome OutcomeOf(PrintOutcome outcome) {
  switch (outcome) {
    case PrintOutcome::kExecuted:
      return FleetOutcome::kExecuted;
    case PrintOutcome::kNotRecognized:
      return FleetOutcome::kNotRecognized;
    case PrintOutcome::kSendFailed:
      break;
  }
  return FleetOutcome::kFailed;
}

FleetOutcome OutcomeOf(JobVerdict verdict) {
  switch (verdict) {
    case JobVerdict::kPrinted:
      return FleetOutcome::kPrinted;
    case JobVerdict::kNotPrinted:
      return FleetOutcome::kNotPrinted;
    case JobVerdict::kNotConfirmed:
      break;
  }
  return FleetOutcome::kNotConfirmed;
}

FleetOutcome OutcomeOf(CheckVerdict verdict) {
  switch (verdict) {
    case CheckVerdict::kReady:
      return FleetOutcome::kReady;
    case CheckVerdict::kNotReady:
      return FleetOutcome::kNotReady;
    case CheckVerdict::kStopped:
      return FleetOutcome::kFailed;  // the printer could not be asked to the end
    case CheckVerdict::kNoSuchPrinter:
      break;
  }
  return FleetOutcome::kNotRecognized;
}

}  // namespace quorvel
