#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/cups/cups_connection.h"
#include "printing/job_tracker.h"

namespace quorvel::platform::cups {

/// Where a printer and its jobs are asked about: the printer's IPP URI and the HTTP resource the
/// requests go to ("/" on a CUPS server, the URI's path on a printer).
struct IppTarget {
  std::string printerUri;
  std::string resource;
};

/// Get-Job-Attributes for one job: its state, reasons and message; kGone when the server no
/// longer knows it. Throws PlatformError when the server does not answer.
JobStatus ReadJobStatus(CupsConnection& connection, const IppTarget& target, int jobId);

/// Get-Jobs for the jobs `jobIds` of any queue of the connected CUPS server, in one request:
/// one status per id, in the order given; nothing when the server no longer knows one of them
/// (it then answers for none).
std::optional<std::vector<JobStatus>> ReadJobStatuses(CupsConnection& connection,
                                                      const std::vector<int>& jobIds);

/// CUPS-Get-Printers in one request: the state, reasons, message, whether it accepts jobs and
/// the jobs queued of each queue named (printer names as the server spells them); `exists`
/// false for a name the server does not list.
std::vector<PrinterStatus> ReadPrinterStatuses(CupsConnection& connection,
                                               const std::vector<std::string>& queues);

/// Get-Printer-Attributes: state, reasons, message, whether it accepts jobs, jobs queued, and
/// what decides whether raw bytes pass unchanged (queue kind, device URI scheme, formats).
/// `exists` is false when the server says there is no such printer. `takesCupsRaw`, when given,
/// is set to whether the printer lists application/vnd.cups-raw (a CUPS queue, which then runs
/// no filter on the job).
PrinterStatus ReadPrinterStatus(CupsConnection& connection, const IppTarget& target,
                                bool* takesCupsRaw = nullptr);

}  // namespace quorvel::platform::cups
