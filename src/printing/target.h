#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/printer_list.h"
#include "common/messages.h"
#include "pages/page_text.h"
#include "printing/device_id.h"
#include "printing/device_reply.h"
#include "printing/job_follow.h"
#include "printing/job_tracker.h"
#include "printing/print_flow.h"
#include "printing/snmp_status.h"
#include "printing/spooler.h"

namespace quorvel {

/// The kinds of printer a job can go to.
enum class TargetKind {
  kQueue,    // an installed printer (a queue of the print server), by its exact name
  kRawPort,  // a printer's raw port, HOST[:PORT]
  kIpp,      // an IPP printer or queue, ipp://HOST[:PORT]/PATH (or ipps://)
};

/// Whether a target names an IPP printer (ipp:// or ipps://) rather than HOST[:PORT].
inline bool IsIppUri(const std::string& text) {
  return text.rfind("ipp://", 0) == 0 || text.rfind("ipps://", 0) == 0;
}

/// The kind a name stands for: `direct` names (given with --to) are IPP printers or raw ports,
/// the others installed printers.
inline TargetKind KindOf(const std::string& name, bool direct) {
  if (!direct) {
    return TargetKind::kQueue;
  }
  return IsIppUri(name) ? TargetKind::kIpp : TargetKind::kRawPort;
}

/// A spooler and a tracker sharing one connection.
struct SpoolerConnection {
  std::unique_ptr<Spooler> spooler;
  std::unique_ptr<JobTracker> tracker;
};

/// The platform's ways to printers. Each call makes objects for the caller alone, so that every
/// worker thread has its own connections; errors come as PlatformError.
class PrinterAccess {
 public:
  virtual ~PrinterAccess() = default;
  virtual std::unique_ptr<PrinterList> MakePrinterList() = 0;
  virtual std::unique_ptr<Spooler> MakeSpooler() = 0;
  virtual std::unique_ptr<JobTracker> MakeJobTracker() = 0;
  /// For ipp:// printers.
  virtual SpoolerConnection MakeIppConnection() = 0;
  /// For raw ports: its device names are HOST[:PORT].
  virtual std::unique_ptr<Spooler> MakePortSpooler() = 0;
  /// For raw ports whose answer is read after the last byte (PJL): the spooler puts it in `into`.
  virtual std::unique_ptr<Spooler> MakeReplyingPortSpooler(BackChannelRead read,
                                                           BackChannel& into) = 0;
  /// A session with the SNMP agent of the printer at `host`. Throws PlatformError when it cannot
  /// be made (this build has no SNMP, the host has no address). A request ends, thrown as
  /// PlatformError, within a tenth of a second of `stopped` (when given) saying the user stopped.
  virtual std::unique_ptr<SnmpSession> MakeSnmpSession(const std::string& host,
                                                       const SnmpOptions& options,
                                                       const std::function<bool()>& stopped);
  /// HOST[:PORT] as HOST:PORT, the raw port's number filled in; nothing when it is no address.
  virtual std::optional<std::string> PortAddress(const std::string& target) = 0;
  /// Connects to a raw port and closes the connection at once, before any byte is sent. Throws
  /// PlatformError with the reason when the printer does not take it.
  virtual void ProbePort(const std::string& address) = 0;
};

/// What a raw port tells after the last byte: nothing.
inline constexpr const char* kRawPortNotConfirmed =
    "the printer took every byte and closed the connection; a raw port reports nothing further.";

/// What the printer itself is asked, besides what its road always does.
struct RoadOptions {
  bool pjl = false;  // raw ports: the job goes inside a PJL job whose end the printer reports
  std::chrono::seconds wait{kDefaultWait};  // how long the printer's own answer is waited for
  /// With a value: the printer's page counter, read before and after the job, is the verdict,
  /// and a check also reads its status over SNMP.
  std::optional<SnmpOptions> snmp;
  /// The page is the one the printer's device ID suits (print auto): chosen printer by printer.
  bool choosePage = false;
  /// Times the counter's follow-up (and lets the user cut it short); real time when empty.
  std::function<std::unique_ptr<Pacer>()> makePacer;
  /// Whether the user stopped waiting (Ctrl-C): a wait for the printer's reply ends then.
  std::function<bool()> stopped;
};

/// One kind of target's road: how a test page is sent, how the printer is checked and who can
/// follow the job. One printer and many go the same road.
class TargetRoad {
 public:
  virtual ~TargetRoad() = default;

  /// The name as reports show it.
  virtual std::string DisplayName(const std::string& name) { return name; }

  /// The printer a command that names none works on; empty when there is none.
  virtual std::string DefaultPrinter() { return ""; }

  /// Sends the page built by `composer` as the buttons do; the user is told through `messages`.
  virtual PrintOutcome Send(const std::string& name, PageComposer composer,
                            MessageDisplay& messages) = 0;

  /// The job the last Send handed over, where the road can name one.
  virtual std::optional<JobRef> SubmittedJob() { return std::nullopt; }

  /// Who follows the job the printer took.
  enum class Follower {
    kNobody,  // a raw port says nothing after the last byte
    kRun,     // the print server: a run over many asks about all its jobs at once
    kOwn,     // the send's own connection, each printer by itself
    kDevice,  // the printer itself answered during the send (PJL): see DeviceConfirmation
  };
  virtual Follower FollowedBy() const = 0;

  /// Follows the job the last Send handed over, for one printer alone; null for kNobody.
  virtual JobTracker* Tracker() { return nullptr; }

  /// What the printer said of the last Send's job, for kDevice.
  virtual std::optional<DeviceVerdict> DeviceConfirmation() { return std::nullopt; }

  /// The printer's IEEE 1284 device ID: from its SNMP agent (raw ports), its printer-device-id
  /// (IPP printers and queues); empty with `failure` saying why when there is none.
  virtual std::string DeviceId(const std::string& name, std::string& failure);

  /// How the printer stands. Throws PlatformError when it cannot be asked.
  virtual PrinterStatus Check(const std::string& name) = 0;
};

std::unique_ptr<TargetRoad> MakeRoad(TargetKind kind, PrinterAccess& access,
                                     const RoadOptions& options = {});

/// The page `name`'s device ID suits; nothing, with `why` saying "can't tell which page suits
/// NAME: name it" and what was found, when it names neither page's command set.
std::optional<PageChoice> ChoosePage(TargetRoad& road, const std::string& name, std::string& why);

}  // namespace quorvel
