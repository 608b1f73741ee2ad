#include <gtest/gtest.h>

#include "cli/run_cli.h"
#include "fakes/expected_pages.h"

namespace quorvel {
namespace {

using testing::RunCli;

TEST(CliDump, WritesExactlyTheJobBytes) {
  const testing::CliResult dotMatrix = RunCli("dump dot-matrix");
  EXPECT_EQ(dotMatrix.status, 0);
  EXPECT_EQ(dotMatrix.output.size(), 1154u);
  EXPECT_EQ(dotMatrix.output, testing::ExpectedDotMatrixJob());

  const testing::CliResult pcl = RunCli("dump pcl");
  EXPECT_EQ(pcl.status, 0);
  EXPECT_EQ(pcl.output.size(), 441u);
  EXPECT_EQ(pcl.output, testing::ExpectedPclJob());
}

// The same number as the Windows version record.
TEST(CliVersion, PrintsTheProgramsVersion) {
  const testing::CliResult result = RunCli("--version");
  EXPECT_EQ(result.status, 0);
#ifdef _WIN32
  EXPECT_EQ(result.output, "1.00\r\n");  // a text line on the Windows console
#else
  EXPECT_EQ(result.output, "1.00\n");
#endif
}

TEST(CliDump, UsageErrorsExitWithTwoAndWriteNothingToStdout) {
  for (const char* arguments : {"dump", "dump postscript", "dump pcl extra", "frobnicate", ""}) {
    const testing::CliResult result = RunCli(arguments, true);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_EQ(result.output, "") << arguments;
  }
}

}  // namespace
}  // namespace quorvel
