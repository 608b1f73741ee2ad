#include "platform/win32/winspool_status.h"

#include <vector>

namespace quorvel::win32 {
namespace {

// The JOB_STATUS_* and PRINTER_STATUS_* values of winspool.h, written out so that this mapping
// builds and is tested on every platform.
struct Bit {
  std::uint32_t value;
  const char* name;
};

constexpr std::uint32_t kJobPaused = 0x1;
constexpr std::uint32_t kJobDeleting = 0x4;
constexpr std::uint32_t kJobPrinted = 0x80;
constexpr std::uint32_t kJobDeleted = 0x100;
constexpr std::uint32_t kJobBlockedDevq = 0x200;
constexpr std::uint32_t kJobComplete = 0x1000;

constexpr Bit kJobBits[] = {
    {0x1, "paused"},
    {0x2, "error"},
    {0x4, "deleting"},
    {0x8, "spooling"},
    {0x10, "printing"},
    {0x20, "offline"},
    {0x40, "paper-out"},
    {0x80, "printed"},
    {0x100, "deleted"},
    {0x200, "blocked-devq"},
    {0x400, "user-intervention"},
    {0x800, "restart"},
    {0x1000, "complete"},
    {0x2000, "retained"},
};

constexpr std::uint32_t kPrinterPaused = 0x1;
// Error, pending deletion, offline, not available.
constexpr std::uint32_t kPrinterStopping = 0x2 | 0x4 | 0x80 | 0x1000;
// I/O active, busy, printing, processing.
constexpr std::uint32_t kPrinterBusy = 0x100 | 0x200 | 0x400 | 0x4000;
constexpr std::uint32_t kAttributeWorkOffline = 0x400;

constexpr Bit kPrinterBits[] = {
    {0x1, "paused"},
    {0x2, "error"},
    {0x4, "pending-deletion"},
    {0x8, "paper-jam"},
    {0x10, "paper-out"},
    {0x20, "manual-feed"},
    {0x40, "paper-problem"},
    {0x80, "offline"},
    {0x100, "io-active"},
    {0x200, "busy"},
    {0x400, "printing"},
    {0x800, "output-bin-full"},
    {0x1000, "not-available"},
    {0x2000, "waiting"},
    {0x4000, "processing"},
    {0x8000, "initializing"},
    {0x10000, "warming-up"},
    {0x20000, "toner-low"},
    {0x40000, "no-toner"},
    {0x80000, "page-punt"},
    {0x100000, "user-intervention"},
    {0x200000, "out-of-memory"},
    {0x400000, "door-open"},
    {0x800000, "server-unknown"},
    {0x1000000, "power-save"},
};

template <std::size_t N>
std::vector<std::string> Names(std::uint32_t status, const Bit (&bits)[N]) {
  std::vector<std::string> names;
  for (const Bit& bit : bits) {
    if ((status & bit.value) != 0) {
      names.emplace_back(bit.name);
    }
  }
  return names;
}

JobState StateOf(std::uint32_t status) {
  if ((status & (kJobPrinted | kJobComplete)) != 0) {
    return JobState::kCompleted;
  }
  if ((status & (kJobDeleted | kJobDeleting)) != 0) {
    return JobState::kCanceled;
  }
  if ((status & kJobBlockedDevq) != 0) {
    return JobState::kAborted;
  }
  if ((status & kJobPaused) != 0) {
    return JobState::kHeld;
  }
  return status == 0 ? JobState::kPending : JobState::kProcessing;
}

}  // namespace

JobStatus JobStatusFromBits(std::uint32_t status, const std::string& text) {
  JobStatus job;
  job.state = StateOf(status);
  job.reasons = Names(status, kJobBits);
  job.message = text;
  return job;
}

void ApplyPrinterBits(std::uint32_t status, std::uint32_t attributes, PrinterStatus& printer) {
  printer.reasons = Names(status, kPrinterBits);
  if ((attributes & kAttributeWorkOffline) != 0) {
    printer.reasons.emplace_back("work-offline");
  }
  if ((status & (kPrinterPaused | kPrinterStopping)) != 0 ||
      (attributes & kAttributeWorkOffline) != 0) {
    printer.state = PrinterState::kStopped;
  } else if ((status & kPrinterBusy) != 0) {
    printer.state = PrinterState::kProcessing;
  } else {
    printer.state = PrinterState::kIdle;
  }
  if ((status & kPrinterPaused) != 0 && printer.message.empty()) {
    printer.message = "Paused";
  }
}

}  // namespace quorvel::win32
