#include "cli/job_source.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "cli/commands.h"
#include "cli/option_words.h"
#include "common/utf8_path.h"
#include "inspect/document_kind.h"
#include "platform/command_line/command_line.h"

namespace quorvel::cli {

namespace {

constexpr const char* kJobsTaken =
    "dot-matrix, pcl, a job file (the bytes sent to a printer, "
    "such as a job-NNNNNN.prn that listen saved) or -";

// Why `source`, which names no test page, is not a job that can be read.
std::string FileProblem(const std::string& source) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(PathFromUtf8(source), error);
  if (status.type() == std::filesystem::file_type::not_found) {
    return "cannot read " + source + ": there is no such file, and it names no test page: give " +
           kJobsTaken;
  }
  if (std::filesystem::is_directory(status)) {
    return "cannot read " + source + ": it is a folder, not a job: give " + kJobsTaken;
  }
  errno = 0;
  std::ifstream in(PathFromUtf8(source), std::ios::binary);
  const int reason = errno;
  return "cannot read " + source +
         (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string());
}

}  // namespace

std::string LoadJob(const std::string& source, std::string& job) {
  if (const Page* page = PageNamed(source)) {
    job = ComposeJob(page->compose);
    return {};
  }
  if (source == "-") {
    platform::MakeBinary(stdin);
    std::ostringstream bytes;
    bytes << std::cin.rdbuf();
    job = bytes.str();
    return std::cin.bad() ? "standard input could not be read" : "";
  }
  std::error_code error;
  if (std::filesystem::is_directory(PathFromUtf8(source), error) ||
      !ReadJobFile(PathFromUtf8(source), job)) {
    return FileProblem(source);
  }
  if (const std::string_view kind = inspect::DocumentKind(job); !kind.empty()) {
    return "cannot read " + source + " as a job: it is " + std::string(kind) +
           ", not the bytes sent to a printer: give " + kJobsTaken +
           "; to check a scan or photo of a printed sheet, use quorvel-cli verify " + source;
  }
  return {};
}

bool ReadJobFile(const std::filesystem::path& file, std::string& job) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return false;
  }
  try {
    job.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::exception&) {
    return false;  // the stream's own words ("basic_filebuf::underflow") tell a user nothing
  }
  return !in.bad();
}

inspect::Dialect DialectFor(const std::string& source, const std::string& as,
                            std::string_view job) {
  const Page* page = PageNamed(as);  // "auto" names none: the test page's own, else a guess
  if (page == nullptr) {
    page = PageNamed(source);
  }
  if (page == nullptr) {
    return inspect::GuessDialect(job);
  }
  return page->kind == PageKind::kPcl ? inspect::Dialect::kPcl : inspect::Dialect::kDotMatrix;
}

CLI::Option* AddPaperOption(CLI::App& command, sheet::Paper& paper) {
  return command
      .add_option_function<std::string>(
          "--paper",
          [&paper](const std::string& name) {
            paper = name == "letter" ? sheet::Paper::kLetter : sheet::Paper::kA4;
          },
          "a4 (default) or letter")
      ->check(OneOf({"a4", "letter"}));
}

CLI::Option* AddColumnsOption(CLI::App& command, int& columns) {
  return command
      .add_option("--columns", columns,
                  "The dot-matrix printer's line: 80 (default) or 136 for a wide carriage")
      ->check(CLI::IsMember({sheet::kNarrowColumns, sheet::kWideColumns}));
}

}  // namespace quorvel::cli
