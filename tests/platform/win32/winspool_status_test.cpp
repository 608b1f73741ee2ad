// The Windows spooler's status bits in the core's terms. Pure mapping, so it runs on every
// platform; the values are winspool.h's JOB_STATUS_* and PRINTER_STATUS_* constants.
#include "platform/win32/winspool_status.h"

#include <gtest/gtest.h>

namespace quorvel::win32 {
namespace {

using Words = std::vector<std::string>;

TEST(WinspoolStatus, JobBitsBecomeStatesWithTheirNames) {
  const struct {
    std::uint32_t bits;
    JobState state;
    Words reasons;
  } cases[] = {
      {0x0, JobState::kPending, {}},
      {0x8, JobState::kProcessing, {"spooling"}},                      // SPOOLING
      {0x10, JobState::kProcessing, {"printing"}},                     // PRINTING
      {0x10 | 0x20, JobState::kProcessing, {"printing", "offline"}},   // + OFFLINE
      {0x2 | 0x40, JobState::kProcessing, {"error", "paper-out"}},     // ERROR, PAPEROUT
      {0x400, JobState::kProcessing, {"user-intervention"}},           // USER_INTERVENTION
      {0x1, JobState::kHeld, {"paused"}},                              // PAUSED
      {0x80, JobState::kCompleted, {"printed"}},                       // PRINTED
      {0x1000, JobState::kCompleted, {"complete"}},                    // COMPLETE
      {0x80 | 0x2000, JobState::kCompleted, {"printed", "retained"}},  // + RETAINED
      {0x100, JobState::kCanceled, {"deleted"}},                       // DELETED
      {0x4 | 0x10, JobState::kCanceled, {"deleting", "printing"}},     // DELETING
      {0x200, JobState::kAborted, {"blocked-devq"}},                   // BLOCKED_DEVQ
  };
  for (const auto& c : cases) {
    const JobStatus status = JobStatusFromBits(c.bits, "Printer out of paper");
    EXPECT_EQ(status.state, c.state) << std::hex << c.bits;
    EXPECT_EQ(status.reasons, c.reasons) << std::hex << c.bits;
    EXPECT_EQ(status.message, "Printer out of paper");
  }
}

TEST(WinspoolStatus, PrinterBitsAndWorkOfflineBecomeStates) {
  const struct {
    std::uint32_t bits;
    std::uint32_t attributes;
    PrinterState state;
    Words reasons;
    const char* message;
  } cases[] = {
      {0x0, 0x0, PrinterState::kIdle, {}, ""},
      {0x400, 0x0, PrinterState::kProcessing, {"printing"}, ""},     // PRINTING
      {0x1, 0x0, PrinterState::kStopped, {"paused"}, "Paused"},      // PAUSED
      {0x2, 0x0, PrinterState::kStopped, {"error"}, ""},             // ERROR
      {0x80, 0x0, PrinterState::kStopped, {"offline"}, ""},          // OFFLINE
      {0x1000, 0x0, PrinterState::kStopped, {"not-available"}, ""},  // NOT_AVAILABLE
      {0x0, 0x400, PrinterState::kStopped, {"work-offline"}, ""},    // WORK_OFFLINE
      {0x10 | 0x400, 0x0, PrinterState::kProcessing, {"paper-out", "printing"}, ""},
  };
  for (const auto& c : cases) {
    PrinterStatus printer;
    ApplyPrinterBits(c.bits, c.attributes, printer);
    EXPECT_EQ(printer.state, c.state) << std::hex << c.bits;
    EXPECT_EQ(printer.reasons, c.reasons) << std::hex << c.bits;
    EXPECT_EQ(printer.message, c.message) << std::hex << c.bits;
  }
}

}  // namespace
}  // namespace quorvel::win32
