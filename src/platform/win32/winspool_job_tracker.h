#pragma once

#include <map>
#include <string>

#include "platform/win32/winspool_spooler.h"
#include "printing/job_tracker.h"

namespace quorvel::win32 {

/// Jobs and printers as the Windows spooler reports them: GetJobA (JOB_INFO_1) while the spooler
/// keeps the job, GetPrinterA (PRINTER_INFO_2) and the driver's DRIVER_INFO_8 for the printer.
/// A job the spooler no longer keeps is kGone: it may have printed or not, nobody says.
class WinspoolJobTracker : public JobTracker {
 public:
  std::vector<JobStatus> QueryJobs(const std::vector<JobRef>& jobs) override;
  PrinterStatus QueryPrinter(const std::string& printer) override;

 private:
  /// An open handle to the printer, kept for the next round; null when it cannot be opened.
  HANDLE Printer(const std::string& name);

  std::map<std::string, UniquePrinter> printers_;
};

}  // namespace quorvel::win32
