#include "cli/job_source.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "cli/commands.h"
#include "common/utf8_path.h"
#include "platform/command_line/command_line.h"

namespace quorvel::cli {

bool LoadJob(const std::string& source, std::string& job) {
  if (const Page* page = PageNamed(source)) {
    job = ComposeJob(page->compose);
    return true;
  }
  if (source == "-") {
    platform::MakeBinary(stdin);
    std::ostringstream bytes;
    bytes << std::cin.rdbuf();
    job = bytes.str();
    return !std::cin.bad();
  }
  return ReadJobFile(PathFromUtf8(source), job);
}

bool ReadJobFile(const std::filesystem::path& file, std::string& job) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    return false;
  }
  job.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
      ->check(CLI::IsMember({"a4", "letter"}));
}

CLI::Option* AddColumnsOption(CLI::App& command, int& columns) {
  return command
      .add_option("--columns", columns,
                  "The dot-matrix printer's line: 80 (default) or 136 for a wide carriage")
      ->check(CLI::IsMember({sheet::kNarrowColumns, sheet::kWideColumns}));
}

}  // namespace quorvel::cli
