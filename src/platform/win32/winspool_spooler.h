#pragma once

#include <string>
#include <string_view>

#include "platform/win32/unique_handle.h"
#include "printing/spooler.h"

namespace quorvel::win32 {

/// PRINTER_DRIVER_XPS of DRIVER_INFO_8's attributes (not every SDK's winspool.h names it).
inline constexpr DWORD kPrinterDriverXps = 0x00000002;

/// The datatype under which the spooler passes the bytes to the printer unchanged: "XPS_PASS"
/// for an XPS driver, "RAW" for every other. Naming none would leave the queue's default, which
/// may be NT EMF and then swallow the bytes.
std::string_view ChooseDatatype(DWORD driverAttributes);

struct PrinterHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static bool IsValid(Type printer) { return printer != nullptr; }
  static void Close(Type printer);
};
using UniquePrinter = UniqueHandle<PrinterHandleTraits>;

/// Opens the printer `deviceName` into `printer`: false when the spooler knows no printer of that
/// name; any other failure (access denied, spooler down) is thrown with the system's reason.
bool OpenNamedPrinter(const std::string& deviceName, UniquePrinter& printer);

/// One raw job through winspool: OpenPrinterA ... ClosePrinter; AbortPrinter after a failure
/// once the document has started.
class WinspoolSpooler : public Spooler {
 public:
  ~WinspoolSpooler() override;
  bool Open(const std::string& deviceName) override;
  void StartDocument(const std::string& documentName) override;
  void StartPage() override;
  std::size_t Write(std::string_view bytes) override;
  void EndPage() override;
  void EndDocument() override;
  void Close() noexcept override;
  void Cancel() noexcept override;

  std::optional<JobRef> SubmittedJob() const override { return submittedJob_; }

  /// The datatype the last StartDocument asked for.
  const std::string& Datatype() const { return datatype_; }

 private:
  DWORD DriverAttributes() const;
  HANDLE Printer(const char* operation) const;

  UniquePrinter printer_;
  bool documentStarted_ = false;
  std::string datatype_;
  std::string deviceName_;
  DWORD jobId_ = 0;  // StartDocPrinterA's answer
  std::optional<JobRef> submittedJob_;
};

}  // namespace quorvel::win32
