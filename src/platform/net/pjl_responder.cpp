#include "platform/net/pjl_responder.h"

#include <algorithm>

#include "printing/device_id.h"

namespace quorvel {
namespace {

constexpr std::size_t kMaxBody = 16u << 20;
constexpr std::size_t kMaxLine = 4096;

}  // namespace

// In PJL, lines that start with @PJL are commands; the first other byte starts the page data,
// which runs to the next UEL.
std::string PjlResponder::Heard(std::string_view bytes) {
  std::string answer;
  pending_.append(bytes);
  std::size_t at = 0;
  while (at < pending_.size()) {
    const std::string_view rest = std::string_view(pending_).substr(at);
    if (!inPjl_) {
      const std::size_t uel = rest.find(kUel);
      const std::size_t data = uel == std::string_view::npos
                                   ? rest.size() - std::min(rest.size(), kUel.size() - 1)
                                   : uel;
      if (body_.size() < kMaxBody) {
        body_.append(rest.substr(0, std::min(data, kMaxBody - body_.size())));
      }
      at += data;
      if (uel == std::string_view::npos) {
        break;
      }
      at += kUel.size();
      inPjl_ = true;
      continue;
    }
    if (rest.front() == '\r' || rest.front() == '\n' || rest.front() == ' ') {
      ++at;
      continue;
    }
    if (StartsWithNoCase(rest, kUel)) {
      at += kUel.size();
      continue;
    }
    if (rest.size() < kPjlPrefix.size() && StartsWithNoCase(kPjlPrefix, rest)) {
      break;  // perhaps the start of a command: wait for more
    }
    if (rest.size() < kUel.size() && kUel.substr(0, rest.size()) == rest) {
      break;
    }
    if (!StartsWithNoCase(rest, kPjlPrefix)) {
      inPjl_ = false;
      continue;
    }
    const std::size_t lineEnd = rest.find('\n');
    if (lineEnd == std::string_view::npos) {
      if (rest.size() > kMaxLine) {
        inPjl_ = false;  // no command is this long: read it as data
        continue;
      }
      break;
    }
    answer += Command(rest.substr(0, lineEnd));
    at += lineEnd + 1;
  }
  pending_.erase(0, at);
  return answer;
}

std::string PjlResponder::Command(std::string_view line) {
  const std::string words = Normalized(Trimmed(line));
  if (words.rfind("@PJL USTATUS JOB", 0) == 0) {
    jobStatus_ = words.find("=ON") != std::string::npos || words.find("= ON") != std::string::npos;
    return "";
  }
  if (words.rfind("@PJL JOB", 0) == 0) {
    jobName_ = NameIn(line);
    body_.clear();
    return "";
  }
  if (words.rfind("@PJL EOJ", 0) == 0) {
    if (jobName_.empty()) {
      jobName_ = NameIn(line);
    }
    return jobStatus_ ? JobEnd() : "";
  }
  if (words == "@PJL INFO ID") {
    const std::string model = DeviceIdField(settings_.deviceId, {"MDL", "MODEL"});
    return "@PJL INFO ID\r\n\"" + PjlString(model.empty() ? "Quorvel virtual printer" : model) +
           "\"\r\n\f";
  }
  if (words == "@PJL INFO STATUS") {
    return "@PJL INFO STATUS\r\nCODE=10001\r\nDISPLAY=\"READY\"\r\nONLINE=TRUE\r\n\f";
  }
  return "";
}

std::string PjlResponder::JobEnd() {
  answeredEnd_ = true;
  const std::string head = "@PJL USTATUS JOB\r\nEND\r\nNAME=\"" + PjlString(jobName_) + "\"\r\n";
  switch (settings_.fault) {
    case PjlFault::kZeroPages:
      return head + "PAGES=0\r\n\f";
    case PjlFault::kCanceled:
      return head + "PAGES=0\r\nRESULT=USER_CANCELED\r\n\f";
    case PjlFault::kEndless: {
      std::string flood;
      const std::string_view status =
          "@PJL USTATUS DEVICE\r\nCODE=10023\r\nDISPLAY=\"PRINTING\"\r\nONLINE=TRUE\r\n\f";
      while (flood.size() < 2 * kPjlReplyCap) {
        flood += status;
      }
      return flood;
    }
    case PjlFault::kUnfinished:
      return "@PJL USTATUS JOB\r\nEND\r\nNAME=";
    case PjlFault::kNone:
      break;
  }
  const int pages = settings_.countPages ? settings_.countPages(body_) : 1;
  return head + "PAGES=" + std::to_string(pages) + "\r\n\f";
}

}  // namespace quorvel
