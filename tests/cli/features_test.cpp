#include <gtest/gtest.h>

#include <string>

#include "cli/run_cli.h"

namespace quorvel::testing {
namespace {

// What a build without a module must refuse before it sends anything: the job would otherwise
// go out and only then would the run say the module is missing. The raw port below refuses
// connections, so a job that was tried ends in "could not be sent" (4) instead of the refusal.
struct MissingFeatureRow {
  const char* name;
  bool built;
  const char* arguments;
  const char* refusal;
};

class CliMissingFeature : public ::testing::TestWithParam<MissingFeatureRow> {};

TEST_P(CliMissingFeature, IsRefusedBeforeAnythingIsSent) {
  const MissingFeatureRow& row = GetParam();
  if (row.built) {
    GTEST_SKIP() << "this build has it";
  }
  const CliResult result = RunCli(std::string(row.arguments) + " 2>&1");
  EXPECT_EQ(result.status, 2) << result.output;
  EXPECT_NE(result.output.find(row.refusal), std::string::npos) << result.output;
  EXPECT_EQ(result.output.find("could not be sent"), std::string::npos) << result.output;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CliMissingFeature,
    ::testing::Values(MissingFeatureRow{"PrintSnmp", QUORVEL_TEST_HAVE_SNMP != 0,
                                        "print pcl --to 127.0.0.1:9 --snmp", "has no SNMP"},
                      MissingFeatureRow{"CheckSnmp", QUORVEL_TEST_HAVE_SNMP != 0,
                                        "check --to 127.0.0.1:9 --snmp=private", "has no SNMP"},
                      MissingFeatureRow{"PrintServer", QUORVEL_TEST_HAVE_SERVERS != 0,
                                        "print pcl --all --server 127.0.0.1:9",
                                        "--server is not available"}),
    [](const ::testing::TestParamInfo<MissingFeatureRow>& info) { return info.param.name; });

}  // namespace
}  // namespace quorvel::testing
