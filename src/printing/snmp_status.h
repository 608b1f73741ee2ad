#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "printing/device_reply.h"
#include "printing/job_follow.h"
#include "printing/job_tracker.h"

namespace quorvel {

/// The printer's values read over SNMP (Printer MIB, host resources MIB, the 1284 device ID).
namespace mib {
inline constexpr char kPageCounter[] = "1.3.6.1.2.1.43.10.2.1.4.1.1";  // prtMarkerLifeCount
inline constexpr char kPrinterStatus[] = "1.3.6.1.2.1.25.3.5.1.1.1";   // hrPrinterStatus
inline constexpr char kDeviceStatus[] = "1.3.6.1.2.1.25.3.2.1.5.1";    // hrDeviceStatus
inline constexpr char kErrorState[] = "1.3.6.1.2.1.25.3.5.1.2.1";  // hrPrinterDetectedErrorState
inline constexpr char kAlertDescriptions[] = "1.3.6.1.2.1.43.18.1.1.8";  // prtAlertDescription
inline constexpr char kDeviceId[] =
    "1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1";  // ppmPrinterIEEE1284DeviceId
}  // namespace mib

/// The longest value kept from an agent; longer ones are cut here.
inline constexpr std::size_t kSnmpValueCap = 4096;
/// The most alerts read from the alert table.
inline constexpr std::size_t kMaxAlerts = 32;

/// How a printer's SNMP agent is reached: SNMP v2c (v1 where it answers only that) with a
/// community.
struct SnmpOptions {
  std::string community = "public";
  std::uint16_t port = 161;
};

/// One value as the agent gave it: a number (INTEGER, Counter, Gauge), octets, or nothing (no such
/// object or instance).
struct SnmpValue {
  enum class Kind { kMissing, kNumber, kOctets };
  Kind kind = Kind::kMissing;
  long long number = 0;
  std::string octets;
};

/// One session with one printer's agent, used by one thread. Failures (no answer, a wrong
/// community, which agents meet with silence) are thrown as PlatformError.
class SnmpSession {
 public:
  virtual ~SnmpSession() = default;
  virtual SnmpValue Get(const std::string& oid) = 0;
  /// The object after `oid` and its value; nothing past the agent's last.
  virtual std::optional<std::pair<std::string, SnmpValue>> Next(const std::string& oid) = 0;
};

/// What the printer's agent says of it.
struct DeviceState {
  std::optional<long long> pageCounter;
  int printerStatus = 0;   // hrPrinterStatus: 1 other, 2 unknown, 3 idle, 4 printing, 5 warmup
  int deviceStatus = 0;    // hrDeviceStatus: 1 unknown, 2 running, 3 warning, 4 testing, 5 down
  std::string errorState;  // hrPrinterDetectedErrorState's octets
  std::vector<std::string> alerts;
  std::string deviceId;
};

/// Reads every value of DeviceState; throws PlatformError when the agent does not answer.
DeviceState ReadDeviceState(SnmpSession& session);

/// The conditions hrPrinterDetectedErrorState's bits name: "low paper", "paper out", "jam",
/// "door open", "offline", ...
std::vector<std::string> ErrorStateWords(std::string_view octets);

/// What keeps the printer from printing, as its agent says: its error bits, a device that is
/// down, its alerts.
std::vector<std::string> DeviceProblems(const DeviceState& state);

/// The printer's IEEE 1284 device ID (cut at kSnmpValueCap); empty when its agent has none.
std::string ReadDeviceId(SnmpSession& session);

/// The check's lines of a device state.
std::vector<PrinterDetail> DeviceStateDetails(const DeviceState& state);

/// The host part of a target: "HOST[:PORT]", "[ADDR]:PORT", "ipp://HOST[:PORT]/PATH".
std::string HostOf(std::string_view target);

/// Watches the page counter after a job was sent: reads it until it has moved and the printer
/// is no longer printing, or `limit` has passed. A moved counter is printed ("1 page (counter
/// 48211 -> 48212)"), an unmoved one not printed with what the printer reports; no answer at all,
/// or a pause the user cut short (Ctrl-C), leaves the job not confirmed.
DeviceVerdict FollowPageCounter(SnmpSession& session, long long before,
                                std::chrono::milliseconds limit, Pacer& pacer);

}  // namespace quorvel
