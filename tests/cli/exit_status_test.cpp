#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_cli.h"
#include "common/exit_status.h"

namespace quorvel {
namespace {

using testing::RunCli;

// --help ends with the table, a status and its meaning a line; /? is the Windows way to ask.
TEST(ExitStatusTable, HelpListsEveryStatus) {
  for (const char* ask : {"--help", "\"/?\""}) {  // quoted from the shell's patterns
    const testing::CliResult result = RunCli(ask);
    EXPECT_EQ(result.status, 0) << ask;
    for (const ExitStatusRow& row : kExitStatuses) {
      EXPECT_NE(result.output.find("  " + std::to_string(row.status) + "  " + row.meaning),
                std::string::npos)
          << ask << " " << row.status;
    }
  }
}

// Each command's --help ends with the statuses that command can give, and no others.
TEST(ExitStatusTable, EachCommandsHelpListsItsOwnStatuses) {
  const std::vector<std::pair<std::string, std::set<int>>> commands{
      {"printers", {0, 1, 2}},     {"print", {0, 2, 3, 4, 5, 6}}, {"check", {0, 2, 3, 4, 5}},
      {"dump", {0, 1, 2}},         {"explain", {0, 1, 2}},        {"render", {0, 1, 2, 8}},
      {"verify", {0, 1, 2, 7, 8}}, {"listen", {0, 1, 2, 8}},      {"help", {0, 2}},
  };
  for (const auto& [command, statuses] : commands) {
    const std::string help = RunCli(command + " --help").output;
    for (const ExitStatusRow& row : kExitStatuses) {
      const bool listed =
          help.find("\n  " + std::to_string(row.status) + "  " + row.meaning) != std::string::npos;
      EXPECT_EQ(listed, statuses.count(row.status) == 1) << command << " " << row.status;
    }
  }
}

#ifndef _WIN32
std::set<int> TableStatuses() {
  std::set<int> statuses;
  for (const ExitStatusRow& row : kExitStatuses) {
    statuses.insert(row.status);
  }
  return statuses;
}

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The README's table has the same rows, word for word, and no others.
TEST(ExitStatusTable, ReadmeTableIsTheSame) {
  const std::string readme = Read(QUORVEL_SOURCE_DIR "/README.md");
  std::set<int> listed;
  const std::regex row(R"(\n\| (\d+) \| ([^|\n]+) \|)");
  for (auto it = std::sregex_iterator(readme.begin(), readme.end(), row);
       it != std::sregex_iterator(); ++it) {
    const int status = std::stoi((*it)[1]);
    listed.insert(status);
    bool known = false;
    for (const ExitStatusRow& entry : kExitStatuses) {
      if (entry.status == status) {
        known = true;
        EXPECT_EQ((*it)[2].str(), entry.meaning) << "README row " << status;
      }
    }
    EXPECT_TRUE(known) << "README lists status " << status << ", which the program never returns";
  }
  EXPECT_EQ(listed, TableStatuses());
}

// The manual page's EXIT STATUS section has an entry for each status and no other.
TEST(ExitStatusTable, ManualPageListsTheSameStatuses) {
  const std::string page = Read(QUORVEL_SOURCE_DIR "/packaging/linux/quorvel-cli.1.in");
  const std::size_t start = page.find(".SH \"EXIT STATUS\"");
  ASSERT_NE(start, std::string::npos);
  const std::size_t end = page.find(".SS", page.find(".SS", start) + 1);
  const std::string section = page.substr(start, end - start);
  std::set<int> listed;
  const std::regex entry(R"(\.TP\n\.B (\d+)\n)");
  for (auto it = std::sregex_iterator(section.begin(), section.end(), entry);
       it != std::sregex_iterator(); ++it) {
    listed.insert(std::stoi((*it)[1]));
  }
  EXPECT_EQ(listed, TableStatuses());
}
#endif

}  // namespace
}  // namespace quorvel
