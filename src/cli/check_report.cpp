#include "cli/check_report.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace quorvel::cli {
namespace {

const char* VerdictWord(CheckVerdict verdict) {
  switch (verdict) {
    case CheckVerdict::kReady:
      return "ready";
    case CheckVerdict::kNotReady:
      return "not ready";
    case CheckVerdict::kNoSuchPrinter:
      break;
  }
  return "no such printer";
}

std::string Joined(const std::vector<std::string>& words, const char* separator) {
  std::string text;
  for (const std::string& word : words) {
    if (!text.empty()) {
      text.append(separator);
    }
    text.append(word);
  }
  return text;
}

// Appended piece by piece: GCC 12 at -O3 warns falsely about "{" + text + "}".
std::string Enclosed(char open, const std::string& inner, char close) {
  std::string text(1, open);
  text.append(inner);
  text.push_back(close);
  return text;
}

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  out.push_back('"');
  return out;
}

std::string JsonArray(const std::vector<std::string>& values) {
  std::vector<std::string> quoted;
  for (const std::string& value : values) {
    quoted.push_back(JsonString(value));
  }
  return Enclosed('[', Joined(quoted, ", "), ']');
}

}  // namespace

std::string FormatCheckText(const std::string& printer, const PrinterStatus& status) {
  const CheckVerdict verdict = AssessPrinter(status);
  std::string text = printer + ": " + VerdictWord(verdict);
  if (verdict == CheckVerdict::kNoSuchPrinter) {
    return text + "\n";
  }
  const std::vector<std::string> why = NotReadyReasons(status);
  text += why.empty() ? "\n" : " (" + Joined(why, "; ") + ")\n";
  text += std::string("state: ") + StateName(status.state);
  text += status.message.empty() ? "" : ", \"" + status.message + "\"";
  text += status.reasons.empty() ? "\n" : " (" + Joined(status.reasons, ", ") + ")\n";
  text += std::string("accepting jobs: ") + (status.acceptingJobs ? "yes" : "no") + "\n";
  text += "jobs waiting: " + std::to_string(status.jobsAhead) + "\n";
  for (const PrinterDetail& detail : status.details) {
    text += detail.first + ": " + detail.second + "\n";
  }
  for (const std::string& warning : RiskNotes(status)) {
    text += "note: " + warning + "\n";
  }
  return text;
}

std::string FormatCheckJson(const std::string& printer, const PrinterStatus& status) {
  std::vector<std::string> details;
  for (const PrinterDetail& detail : status.details) {
    details.push_back(JsonString(detail.first) + ": " + JsonString(detail.second));
  }
  const std::pair<const char*, std::string> fields[] = {
      {"printer", JsonString(printer)},
      {"verdict", JsonString(VerdictWord(AssessPrinter(status)))},
      {"exists", status.exists ? "true" : "false"},
      {"notReady", JsonArray(NotReadyReasons(status))},
      {"state", JsonString(StateName(status.state))},
      {"reasons", JsonArray(status.reasons)},
      {"message", JsonString(status.message)},
      {"acceptingJobs", status.acceptingJobs ? "true" : "false"},
      {"jobsWaiting", std::to_string(status.jobsAhead)},
      {"details", Enclosed('{', Joined(details, ", "), '}')},
      {"notes", JsonArray(RiskNotes(status))},
  };
  std::vector<std::string> members;
  for (const auto& [name, value] : fields) {
    std::string member = JsonString(name);
    member.append(": ");
    member.append(value);
    members.push_back(std::move(member));
  }
  return Enclosed('{', Joined(members, ", "), '}') + "\n";
}

}  // namespace quorvel::cli
