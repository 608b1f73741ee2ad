#include "platform/win32/winspool_spooler.h"

#include <limits>
#include <vector>

#include "common/platform_error.h"
#include "platform/win32/win32_error.h"

#include <winspool.h>

namespace quorvel::win32 {

std::string_view ChooseDatatype(DWORD driverAttributes) {
  return (driverAttributes & kPrinterDriverXps) != 0 ? "XPS_PASS" : "RAW";
}

void PrinterHandleTraits::Close(HANDLE printer) {
  ::ClosePrinter(printer);
}

bool OpenNamedPrinter(const std::string& deviceName, UniquePrinter& printer) {
  if (!::OpenPrinterA(const_cast<LPSTR>(deviceName.c_str()), printer.Put(), nullptr)) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_INVALID_PRINTER_NAME || error == ERROR_INVALID_NAME ||
        error == ERROR_FILE_NOT_FOUND) {
      return false;
    }
    ThrowError("OpenPrinter", error);
  }
  return true;
}

WinspoolSpooler::~WinspoolSpooler() {
  Cancel();
  Close();
}

bool WinspoolSpooler::Open(const std::string& deviceName) {
  UniquePrinter printer;
  if (!OpenNamedPrinter(deviceName, printer)) {
    return false;
  }
  printer_ = std::move(printer);
  documentStarted_ = false;
  deviceName_ = deviceName;
  submittedJob_.reset();
  return true;
}

// The driver's attributes (DRIVER_INFO_8); 0, meaning an ordinary driver, when the spooler
// can't tell.
DWORD WinspoolSpooler::DriverAttributes() const {
  DWORD needed = 0;
  ::GetPrinterDriverA(printer_.Get(), nullptr, 8, nullptr, 0, &needed);
  if (needed < sizeof(DRIVER_INFO_8A)) {
    return 0;
  }
  std::vector<BYTE> buffer(needed);
  if (!::GetPrinterDriverA(printer_.Get(), nullptr, 8, buffer.data(), needed, &needed)) {
    return 0;
  }
  return reinterpret_cast<const DRIVER_INFO_8A*>(buffer.data())->dwPrinterDriverAttributes;
}

HANDLE WinspoolSpooler::Printer(const char* operation) const {
  if (!printer_) {
    throw PlatformError(operation, "no printer is open");
  }
  return printer_.Get();
}

void WinspoolSpooler::StartDocument(const std::string& documentName) {
  HANDLE printer = Printer("StartDocPrinter");
  datatype_ = std::string(ChooseDatatype(DriverAttributes()));
  std::string name = documentName;
  DOC_INFO_1A info{};
  info.pDocName = name.data();
  info.pOutputFile = nullptr;
  info.pDatatype = datatype_.data();
  jobId_ = ::StartDocPrinterA(printer, 1, reinterpret_cast<LPBYTE>(&info));
  if (jobId_ == 0) {
    ThrowLastError("StartDocPrinter");
  }
  documentStarted_ = true;
}

void WinspoolSpooler::StartPage() {
  if (!::StartPagePrinter(Printer("StartPagePrinter"))) {
    ThrowLastError("StartPagePrinter");
  }
}

std::size_t WinspoolSpooler::Write(std::string_view bytes) {
  HANDLE printer = Printer("WritePrinter");
  if (bytes.size() > std::numeric_limits<DWORD>::max()) {
    throw PlatformError("WritePrinter", "the page is larger than one write can take");
  }
  DWORD written = 0;
  if (!::WritePrinter(printer, const_cast<char*>(bytes.data()), static_cast<DWORD>(bytes.size()),
                      &written)) {
    ThrowLastError("WritePrinter");
  }
  return written;
}

void WinspoolSpooler::EndPage() {
  if (!::EndPagePrinter(Printer("EndPagePrinter"))) {
    ThrowLastError("EndPagePrinter");
  }
}

void WinspoolSpooler::EndDocument() {
  if (!::EndDocPrinter(Printer("EndDocPrinter"))) {
    ThrowLastError("EndDocPrinter");
  }
  documentStarted_ = false;
  submittedJob_ = JobRef{deviceName_, static_cast<int>(jobId_)};
}

void WinspoolSpooler::Close() noexcept {
  printer_.Reset();
}

void WinspoolSpooler::Cancel() noexcept {
  if (documentStarted_ && printer_) {
    ::AbortPrinter(printer_.Get());
  }
  documentStarted_ = false;
}

}  // namespace quorvel::win32
