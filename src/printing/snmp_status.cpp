#include "printing/snmp_status.h"

#include <exception>

#include "common/text.h"

namespace quorvel {
namespace {

constexpr std::chrono::milliseconds kCounterPause{250};

// hrPrinterDetectedErrorState: bit 0 is the first octet's most significant bit.
constexpr const char* kErrorBits[] = {
    "low paper",
    "paper out",
    "low toner",
    "toner out",
    "door open",
    "jam",
    "offline",
    "service requested",
    "input tray missing",
    "output tray missing",
    "marker supply missing",
    "output near full",
    "output full",
    "input tray empty",
    "overdue maintenance",
};

constexpr std::size_t kErrorBitCount = std::size(kErrorBits);

std::string Capped(std::string text) {
  if (text.size() > kSnmpValueCap) {
    text.resize(kSnmpValueCap);
  }
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      c = ' ';
    }
  }
  return text;
}

int NumberOf(const SnmpValue& value) {
  return value.kind == SnmpValue::Kind::kNumber ? static_cast<int>(value.number) : 0;
}

const char* PrinterStatusName(int status) {
  switch (status) {
    case 1:
      return "other";
    case 2:
      return "unknown";
    case 3:
      return "idle";
    case 4:
      return "printing";
    case 5:
      return "warmup";
    default:
      return "not given";
  }
}

const char* DeviceStatusName(int status) {
  switch (status) {
    case 1:
      return "unknown";
    case 2:
      return "running";
    case 3:
      return "warning";
    case 4:
      return "testing";
    case 5:
      return "down";
    default:
      return "not given";
  }
}

std::string CounterText(long long before, long long after) {
  return "(counter " + std::to_string(before) + " -> " + std::to_string(after) + ")";
}

}  // namespace

std::vector<std::string> ErrorStateWords(std::string_view octets) {
  std::vector<std::string> words;
  for (std::size_t bit = 0; bit < kErrorBitCount && bit / 8 < octets.size(); ++bit) {
    const auto octet = static_cast<unsigned char>(octets[bit / 8]);
    if ((octet & (0x80u >> (bit % 8))) != 0) {
      words.emplace_back(kErrorBits[bit]);
    }
  }
  return words;
}

DeviceState ReadDeviceState(SnmpSession& session) {
  DeviceState state;
  const SnmpValue counter = session.Get(mib::kPageCounter);
  if (counter.kind == SnmpValue::Kind::kNumber) {
    state.pageCounter = counter.number;
  }
  state.printerStatus = NumberOf(session.Get(mib::kPrinterStatus));
  state.deviceStatus = NumberOf(session.Get(mib::kDeviceStatus));
  state.errorState = session.Get(mib::kErrorState).octets.substr(0, 8);
  state.deviceId = Capped(session.Get(mib::kDeviceId).octets);
  const std::string table = std::string(mib::kAlertDescriptions) + ".";
  std::string at = mib::kAlertDescriptions;
  while (state.alerts.size() < kMaxAlerts) {
    const auto next = session.Next(at);
    if (!next || next->first.rfind(table, 0) != 0) {
      break;
    }
    at = next->first;
    if (!next->second.octets.empty()) {
      state.alerts.push_back(Capped(next->second.octets));
    }
  }
  return state;
}

std::string ReadDeviceId(SnmpSession& session) {
  return Capped(session.Get(mib::kDeviceId).octets);
}

std::vector<std::string> DeviceProblems(const DeviceState& state) {
  std::vector<std::string> problems = ErrorStateWords(state.errorState);
  std::erase_if(problems, [](const std::string& word) {
    return word == "low paper" || word == "low toner" || word == "output near full" ||
           word == "overdue maintenance";
  });
  if (state.deviceStatus == 5) {
    problems.emplace_back("device down");
  }
  for (const std::string& alert : state.alerts) {
    problems.push_back("alert: " + alert);
  }
  return problems;
}

std::vector<PrinterDetail> DeviceStateDetails(const DeviceState& state) {
  std::vector<PrinterDetail> details;
  details.emplace_back("snmp printer status", PrinterStatusName(state.printerStatus));
  details.emplace_back("snmp device status", DeviceStatusName(state.deviceStatus));
  const std::vector<std::string> errors = ErrorStateWords(state.errorState);
  details.emplace_back("snmp errors", errors.empty() ? "none" : quorvel::text::Join(errors, ", "));
  for (const std::string& alert : state.alerts) {
    details.emplace_back("snmp alert", alert);
  }
  details.emplace_back("page counter",
                       state.pageCounter ? std::to_string(*state.pageCounter) : "not given");
  if (!state.deviceId.empty()) {
    details.emplace_back("device id", state.deviceId);
  }
  return details;
}

std::string HostOf(std::string_view target) {
  if (const std::size_t scheme = target.find("://"); scheme != std::string_view::npos) {
    target = target.substr(scheme + 3);
    target = target.substr(0, target.find('/'));
  }
  if (!target.empty() && target.front() == '[') {
    const std::size_t close = target.find(']');
    return std::string(
        target.substr(1, close == std::string_view::npos ? target.size() - 1 : close - 1));
  }
  const std::size_t colon = target.find(':');
  if (colon != std::string_view::npos && target.find(':', colon + 1) == std::string_view::npos) {
    target = target.substr(0, colon);
  }
  return std::string(target);
}

DeviceVerdict FollowPageCounter(SnmpSession& session, long long before,
                                std::chrono::milliseconds limit, Pacer& pacer) {
  DeviceVerdict verdict{JobVerdict::kNotConfirmed, "snmp", ""};
  std::optional<DeviceState> last;
  std::string failure;
  for (;;) {
    try {
      last = ReadDeviceState(session);
      failure.clear();
    } catch (const std::exception& e) {
      failure = e.what();
    }
    const bool timeUp = pacer.Elapsed() >= limit;
    if (last && last->pageCounter && *last->pageCounter > before &&
        ((last->printerStatus != 4 && last->printerStatus != 5) || timeUp)) {
      const long long pages = *last->pageCounter - before;
      verdict.verdict = JobVerdict::kPrinted;
      verdict.detail = std::to_string(pages) + (pages == 1 ? " page " : " pages ") +
                       CounterText(before, *last->pageCounter);
      return verdict;
    }
    if (timeUp) {
      break;
    }
    if (!pacer.Pause(kCounterPause)) {
      verdict.detail = "stopped waiting (Ctrl-C) before the page counter moved " +
                       (last && last->pageCounter ? CounterText(before, *last->pageCounter)
                                                  : std::string("(no counter read)"));
      return verdict;
    }
  }
  if (!last || !last->pageCounter) {
    verdict.detail = "the printer's agent gave no page counter after the job" +
                     (failure.empty() ? std::string() : ": " + failure);
    return verdict;
  }
  verdict.verdict = JobVerdict::kNotPrinted;
  verdict.detail = "the page counter did not move " + CounterText(before, *last->pageCounter);
  if (const std::vector<std::string> problems = DeviceProblems(*last); !problems.empty()) {
    verdict.detail += "; the printer reports: " + quorvel::text::Join(problems, ", ");
  }
  return verdict;
}

}  // namespace quorvel
