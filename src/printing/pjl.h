#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "printing/device_reply.h"
#include "printing/job_tracker.h"
#include "printing/spooler.h"

namespace quorvel {

/// Universal Exit Language: ends whatever language the printer is in and returns it to PJL.
inline constexpr std::string_view kUel = "\x1B%-12345X";

/// The longest PJL reply read from a printer; a longer one is cut off and leaves the job not
/// confirmed.
inline constexpr std::size_t kPjlReplyCap = 64 * 1024;

/// Why a dot-matrix page does not go with --pjl.
inline constexpr std::string_view kPjlNotForDotMatrix =
    "the dot-matrix page goes to printers that speak no PJL: their job would print the PJL "
    "commands as text";

/// A job name as it may stand between a PJL string's quotes: quotes become apostrophes, control
/// characters and bytes outside ASCII question marks, and it is cut to 80 characters.
std::string PjlString(std::string_view name);

/// A name for one job, unique within the run, so that its end can be told from another job's.
std::string PjlJobName();

/// What goes before the page: UEL, @PJL JOB NAME="...", @PJL USTATUS JOB=ON.
std::string PjlJobHeader(std::string_view name);

/// What goes after the page: UEL, @PJL EOJ NAME="...", UEL.
std::string PjlJobTrailer(std::string_view name);

/// The questions a check asks: UEL, @PJL INFO ID, @PJL INFO STATUS, UEL.
std::string PjlInfoQuery();

/// One message a printer sent: its command line ("@PJL USTATUS JOB") and the lines after it, up
/// to the form feed that ends it.
struct PjlMessage {
  std::string command;
  std::vector<std::string> lines;
  bool operator==(const PjlMessage&) const = default;
};

struct PjlReplies {
  std::vector<PjlMessage> messages;  // the complete ones, in order
  bool partial = false;              // bytes after the last form feed: a message not yet ended
};

/// Splits what a printer sent into its messages. Bytes before a message's "@PJL" (stray line ends,
/// NULs) are skipped; never fails.
PjlReplies ParsePjlReplies(std::string_view bytes);

/// The job's end as a printer reports it in "@PJL USTATUS JOB" ... "END".
struct PjlJobEnd {
  int pages = -1;      // -1: the message carried no PAGES=
  std::string result;  // RESULT=..., empty when absent
};

/// The END message of the job named `name` (as sent, before PjlString), if `bytes` holds one.
std::optional<PjlJobEnd> FindJobEnd(std::string_view bytes, std::string_view name);

/// What the printer's reply says of the job named `name`: printed (its END with pages), not
/// printed (no page, or canceled) or not confirmed (no END: silence, cut off, malformed).
DeviceVerdict JudgePjlReply(const BackChannel& reply, std::string_view name);

/// True when `bytes` holds the answers to both of PjlInfoQuery's questions.
bool HasInfoAnswers(std::string_view bytes);

/// The check's lines from the answers to PjlInfoQuery: {"pjl id", ...}, {"pjl status", ...}.
std::vector<PrinterDetail> PjlInfoDetails(const BackChannel& reply);

/// Sends the job through `inner` inside a PJL job of the name given: the header as the document
/// starts, the trailer as it ends; the page's bytes are passed on unchanged.
class PjlJobSpooler : public Spooler {
 public:
  PjlJobSpooler(Spooler& inner, std::string name) : inner_(inner), name_(std::move(name)) {}
  bool Open(const std::string& deviceName) override { return inner_.Open(deviceName); }
  void StartDocument(const std::string& documentName) override;
  void StartPage() override { inner_.StartPage(); }
  std::size_t Write(std::string_view bytes) override { return inner_.Write(bytes); }
  void EndPage() override { inner_.EndPage(); }
  void EndDocument() override;
  void Close() noexcept override { inner_.Close(); }
  void Cancel() noexcept override { inner_.Cancel(); }

 private:
  void WriteAll(std::string_view bytes);
  Spooler& inner_;
  std::string name_;
};

/// Reading PJL lines, for the client and the virtual printer alike.
inline constexpr std::string_view kPjlPrefix = "@PJL";
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
/// `text` without the spaces, tabs and line ends around it.
std::string_view Trimmed(std::string_view text);
/// The command words of a line in one spacing and case: "@PJL USTATUS JOB".
std::string Normalized(std::string_view line);
/// The NAME="..." of a JOB or EOJ command; empty without one.
std::string NameIn(std::string_view line);

}  // namespace quorvel
