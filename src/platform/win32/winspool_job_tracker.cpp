#include "platform/win32/winspool_job_tracker.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/win32/win32_error.h"
#include "platform/win32/winspool_status.h"

#include <winspool.h>

namespace quorvel::win32 {
namespace {

// DRIVER_INFO_2's cVersion of a v4 driver (Windows 8's print class drivers).
constexpr DWORD kDriverVersion4 = 4;

// GetPrinterA, GetJobA and GetPrinterDriverA share one pattern: ask for the size, then read.
// Empty when the call fails; `error` then holds the reason.
template <typename Call>
std::vector<BYTE> ReadInfo(Call call, DWORD& error) {
  DWORD needed = 0;
  call(nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  if (needed == 0 || !call(buffer.data(), needed, &needed)) {
    error = ::GetLastError();
    return {};
  }
  error = ERROR_SUCCESS;
  return buffer;
}

std::string Text(const char* text) {
  return text != nullptr ? text : "";
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

void AddDriverDetails(HANDLE printer, PrinterStatus& status) {
  DWORD error = 0;
  const std::vector<BYTE> info8 = ReadInfo(
      [&](BYTE* data, DWORD size, DWORD* needed) {
        return ::GetPrinterDriverA(printer, nullptr, 8, data, size, needed);
      },
      error);
  if (info8.size() < sizeof(DRIVER_INFO_8A)) {
    return;
  }
  const auto* driver = reinterpret_cast<const DRIVER_INFO_8A*>(info8.data());
  status.details.emplace_back("driver version", std::to_string(driver->cVersion));
  const bool xps = (driver->dwPrinterDriverAttributes & kPrinterDriverXps) != 0;
  if (xps || driver->cVersion == kDriverVersion4) {
    status.details.emplace_back("datatype",
                                std::string(ChooseDatatype(xps ? kPrinterDriverXps : 0)));
    status.risks.push_back({xps ? RawRisk::kXpsDriver : RawRisk::kV4Driver, ""});
  }
}

}  // namespace

HANDLE WinspoolJobTracker::Printer(const std::string& name) {
  auto found = printers_.find(name);
  if (found == printers_.end()) {
    UniquePrinter printer;
    if (name.empty() || !::OpenPrinterA(const_cast<LPSTR>(name.c_str()), printer.Put(), nullptr)) {
      return nullptr;
    }
    found = printers_.emplace(name, std::move(printer)).first;
  }
  return found->second.Get();
}

std::vector<JobStatus> WinspoolJobTracker::QueryJobs(const std::vector<JobRef>& jobs) {
  std::vector<JobStatus> statuses;
  for (const JobRef& job : jobs) {
    HANDLE printer = Printer(job.printer);
    DWORD error = 0;
    const std::vector<BYTE> info =
        printer == nullptr
            ? std::vector<BYTE>{}
            : ReadInfo(
                  [&](BYTE* data, DWORD size, DWORD* needed) {
                    return ::GetJobA(printer, static_cast<DWORD>(job.id), 1, data, size, needed);
                  },
                  error);
    if (info.size() < sizeof(JOB_INFO_1A)) {
      statuses.push_back({JobState::kGone, {}, {}});
      continue;
    }
    const auto* job1 = reinterpret_cast<const JOB_INFO_1A*>(info.data());
    statuses.push_back(JobStatusFromBits(job1->Status, Text(job1->pStatus)));
  }
  return statuses;
}

PrinterStatus WinspoolJobTracker::QueryPrinter(const std::string& name) {
  PrinterStatus status;
  HANDLE printer = Printer(name);
  if (printer == nullptr) {
    return status;
  }
  DWORD error = 0;
  const std::vector<BYTE> info =
      ReadInfo([&](BYTE* data, DWORD size,
                   DWORD* needed) { return ::GetPrinterA(printer, 2, data, size, needed); },
               error);
  if (info.size() < sizeof(PRINTER_INFO_2A)) {
    ThrowError("GetPrinter", error);
  }
  const auto* printer2 = reinterpret_cast<const PRINTER_INFO_2A*>(info.data());
  status.exists = true;
  ApplyPrinterBits(printer2->Status, printer2->Attributes, status);
  status.jobsAhead = static_cast<int>(printer2->cJobs);
  status.details.emplace_back("driver", Text(printer2->pDriverName));
  status.details.emplace_back("print processor", Text(printer2->pPrintProcessor));
  status.details.emplace_back("port", Text(printer2->pPortName));
  if (Lower(Text(printer2->pPrintProcessor)) != "winprint") {
    status.risks.push_back({RawRisk::kPrintProcessor, Text(printer2->pPrintProcessor)});
  }
  AddDriverDetails(printer, status);
  return status;
}

}  // namespace quorvel::win32
