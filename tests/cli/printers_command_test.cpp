#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/cups_cli.h"

namespace quorvel::testing {
namespace {

TEST(CliPrinters, ListsTheQueuesInLpstatOrderWithTheDefaultMarkedByATab) {
  AddQueue("Other", "socket://127.0.0.1:" + std::to_string(UnusedPort()));
  const CommandResult lpstat = RunCommand("lpstat -e");
  ASSERT_EQ(lpstat.status, 0);

  const CommandResult plain = RunQuorvelCli("printers");
  EXPECT_EQ(plain.status, 0) << plain.err;
  EXPECT_EQ(plain.out, lpstat.out);

  const CommandResult marked = RunQuorvelCli("printers", "LPDEST=Virtual");
  EXPECT_EQ(marked.status, 0) << marked.err;
  std::vector<std::string> expected = Lines(lpstat.out);
  for (std::string& line : expected) {
    if (line == "Virtual") {
      line += "\tdefault";
    }
  }
  EXPECT_EQ(Lines(marked.out), expected);
}

TEST(CliPrinters, NoServerFailsWithStatusOneAndTheReason) {
  const CommandResult result =
      RunQuorvelCli("printers", "CUPS_SERVER=127.0.0.1:" + std::to_string(UnusedPort()));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("could not be read"), std::string::npos) << result.err;
}

}  // namespace
}  // namespace quorvel::testing
