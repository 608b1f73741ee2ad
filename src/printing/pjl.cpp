#include "printing/pjl.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>

#include "common/platform_error.h"
#include "printing/device_id.h"
#include "printing/print_flow.h"

namespace quorvel {
namespace {

constexpr char kPjlEnd = '\x0C';            // a form feed ends each message a printer sends
constexpr std::size_t kMaxMessages = 4096;  // more in 64 KiB would be empty ones
std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return upper;
}

}  // namespace

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) {
    return false;
  }
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) !=
        std::toupper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) {
    return {};
  }
  const std::size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::string Normalized(std::string_view line) {
  std::string words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
      ++i;
    }
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
      ++i;
    }
    if (i > start) {
      words += (words.empty() ? "" : " ") + Upper(line.substr(start, i - start));
    }
  }
  return words;
}

namespace {

// "KEY=VALUE" (spaces around "=" allowed): the value, quotes taken off; nothing for another key.
std::optional<std::string> ValueOf(std::string_view line, std::string_view key) {
  line = Trimmed(line);
  if (!StartsWithNoCase(line, key)) {
    return std::nullopt;
  }
  std::string_view rest = Trimmed(line.substr(key.size()));
  if (rest.empty() || rest.front() != '=') {
    return std::nullopt;
  }
  rest = Trimmed(rest.substr(1));
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
    rest = rest.substr(1, rest.size() - 2);
  }
  return std::string(rest);
}

std::optional<int> SmallNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) {
    return std::nullopt;
  }
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

std::string Pages(int pages) {
  return std::to_string(pages) + (pages == 1 ? " page" : " pages");
}

}  // namespace

std::string NameIn(std::string_view line) {
  const std::size_t at = Upper(line).find("NAME");
  return at == std::string::npos ? "" : ValueOf(line.substr(at), "NAME").value_or("");
}

std::string PjlString(std::string_view name) {
  std::string text;
  for (const char c : name.substr(0, 80)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"') {
      text += '\'';
    } else if (byte < 0x20 || byte >= 0x7F) {
      text += '?';
    } else {
      text += c;
    }
  }
  return text;
}

std::string PjlJobName() {
  static std::atomic<unsigned> counter{0};
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  return std::string(kDocumentName) + " " + std::to_string(now % 100000000) + "-" +
         std::to_string(++counter);
}

std::string PjlJobHeader(std::string_view name) {
  return std::string(kUel) + "@PJL JOB NAME=\"" + PjlString(name) + "\"\r\n" +
         "@PJL USTATUS JOB=ON\r\n";
}

std::string PjlJobTrailer(std::string_view name) {
  return std::string(kUel) + "@PJL EOJ NAME=\"" + PjlString(name) + "\"\r\n" + std::string(kUel);
}

std::string PjlInfoQuery() {
  return std::string(kUel) + "@PJL INFO ID\r\n@PJL INFO STATUS\r\n" + std::string(kUel);
}

PjlReplies ParsePjlReplies(std::string_view bytes) {
  PjlReplies replies;
  std::size_t at = 0;
  while (at < bytes.size() && replies.messages.size() < kMaxMessages) {
    const std::size_t start = bytes.find('@', at);
    if (start == std::string_view::npos) {
      break;
    }
    const std::size_t end = bytes.find(kPjlEnd, start);
    if (end == std::string_view::npos) {
      replies.partial = StartsWithNoCase(bytes.substr(start), kPjlPrefix) ||
                        kPjlPrefix.substr(0, bytes.size() - start) == bytes.substr(start);
      break;
    }
    at = end + 1;
    const std::string_view text = bytes.substr(start, end - start);
    if (!StartsWithNoCase(text, kPjlPrefix)) {
      continue;
    }
    PjlMessage message;
    std::size_t lineStart = 0;
    for (std::size_t lineEnd = 0; lineEnd != std::string_view::npos; lineStart = lineEnd + 1) {
      lineEnd = text.find('\n', lineStart);
      const std::string_view line = Trimmed(text.substr(lineStart, lineEnd - lineStart));
      if (message.command.empty()) {
        message.command = Normalized(line);
      } else if (!line.empty()) {
        message.lines.emplace_back(line);
      }
    }
    replies.messages.push_back(std::move(message));
  }
  return replies;
}

std::optional<PjlJobEnd> FindJobEnd(std::string_view bytes, std::string_view name) {
  const std::string wanted = PjlString(name);
  for (const PjlMessage& message : ParsePjlReplies(bytes).messages) {
    if (message.command != "@PJL USTATUS JOB" || message.lines.empty() ||
        Upper(message.lines.front()) != "END") {
      continue;
    }
    PjlJobEnd end;
    bool ours = false;
    for (const std::string& line : message.lines) {
      if (const auto value = ValueOf(line, "NAME")) {
        ours = *value == wanted;
      } else if (const auto pages = ValueOf(line, "PAGES")) {
        end.pages = SmallNumber(*pages).value_or(-1);
      } else if (const auto result = ValueOf(line, "RESULT")) {
        end.result = Upper(*result);
      }
    }
    if (ours) {
      return end;
    }
  }
  return std::nullopt;
}

DeviceVerdict JudgePjlReply(const BackChannel& reply, std::string_view name) {
  DeviceVerdict verdict{JobVerdict::kNotConfirmed, "pjl", ""};
  if (const std::optional<PjlJobEnd> end = FindJobEnd(reply.bytes, name)) {
    if (end->result.find("CANCEL") != std::string::npos) {
      verdict.verdict = JobVerdict::kNotPrinted;
      verdict.detail = "the printer canceled the job (RESULT=" + end->result + ")";
    } else if (end->pages > 0) {
      verdict.verdict = JobVerdict::kPrinted;
      verdict.detail = Pages(end->pages);
    } else if (end->pages == 0) {
      verdict.verdict = JobVerdict::kNotPrinted;
      verdict.detail = "the printer reported the job's end with 0 pages";
    } else {
      verdict.detail = "the printer reported the job's end without a page count";
    }
    return verdict;
  }
  if (reply.end == BackChannel::End::kStopped && Trimmed(reply.bytes).empty()) {
    verdict.detail = "stopped waiting (Ctrl-C) before the printer answered PJL";
  } else if (Trimmed(reply.bytes).empty()) {
    verdict.detail = "the printer did not answer PJL";
  } else if (reply.end == BackChannel::End::kCapped) {
    verdict.detail = "the printer's PJL reply went past " + std::to_string(kPjlReplyCap / 1024) +
                     " KiB without the job's end";
  } else if (reply.end == BackChannel::End::kStopped) {
    verdict.detail = "stopped waiting (Ctrl-C) before the printer reported the job's end";
  } else if (reply.end == BackChannel::End::kTimedOut) {
    verdict.detail = "the printer answered PJL but did not report the job's end in time";
  } else {
    verdict.detail = "the printer answered PJL but closed the connection without the job's end";
  }
  return verdict;
}

bool HasInfoAnswers(std::string_view bytes) {
  bool id = false;
  bool status = false;
  for (const PjlMessage& message : ParsePjlReplies(bytes).messages) {
    id = id || message.command == "@PJL INFO ID";
    status = status || message.command == "@PJL INFO STATUS";
  }
  return id && status;
}

std::vector<PrinterDetail> PjlInfoDetails(const BackChannel& reply) {
  std::vector<PrinterDetail> details;
  for (const PjlMessage& message : ParsePjlReplies(reply.bytes).messages) {
    std::string text;
    for (std::string_view line : message.lines) {
      if (line.size() >= 2 && line.front() == '"' && line.back() == '"') {
        line = line.substr(1, line.size() - 2);  // INFO ID's model name comes quoted
      }
      text += (text.empty() ? "" : ", ") + PjlString(line);
    }
    if (message.command == "@PJL INFO ID") {
      details.emplace_back("pjl id", text);
    } else if (message.command == "@PJL INFO STATUS") {
      details.emplace_back("pjl status", text);
    }
  }
  if (details.empty()) {
    details.emplace_back("pjl", "no answer");
  }
  return details;
}

void PjlJobSpooler::WriteAll(std::string_view bytes) {
  const std::size_t written = inner_.Write(bytes);
  if (written != bytes.size()) {
    throw PlatformError("Write", "only " + std::to_string(written) + " of " +
                                     std::to_string(bytes.size()) + " PJL bytes were accepted");
  }
}

void PjlJobSpooler::StartDocument(const std::string& documentName) {
  inner_.StartDocument(documentName);
  WriteAll(PjlJobHeader(name_));
}

void PjlJobSpooler::EndDocument() {
  WriteAll(PjlJobTrailer(name_));
  inner_.EndDocument();
}

}  // namespace quorvel
