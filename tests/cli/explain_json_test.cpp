// explain --format json as a JSON reader takes it: both pages and a captured file with bytes
// above 127, read back in the test.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "cli/run_cli.h"
#include "common/json_text.h"

namespace quorvel {
namespace {

using json::Value;
using testing::RunCli;

// A file of the build tree, as quorvel-cli opens it (under Wine through drive Z:).
std::string BuildFile(const std::string& name) {
  std::string path = std::string(QUORVEL_TEST_OUTPUT_DIR) + "/" + name;
#ifdef _WIN32
  for (char& c : path) {
    c = c == '/' ? '\\' : c;
  }
  path = "Z:" + path;
#endif
  return path;
}

TEST(CliExplainJson, BothPagesParse) {
  const std::pair<const char*, std::size_t> pages[] = {{"dot-matrix", 1154}, {"pcl", 441}};
  for (const auto& [page, bytes] : pages) {
    const testing::CliResult result = RunCli(std::string("explain ") + page + " --format json");
    EXPECT_EQ(result.status, 0) << page;
    Value listing;
    ASSERT_NO_THROW(listing = Value::parse(result.output)) << result.output;
    EXPECT_EQ(listing["dialect"], page);
    EXPECT_EQ(listing["summary"]["bytes"], bytes);
  }
}

TEST(CliExplainJson, AFileWithBytesAbove127Parses) {
  const std::string file = BuildFile("explain-high-bytes.prn");
  std::ofstream(file, std::ios::binary) << "caf\xE9 \xC3\xA9\r\n\x0C";
  const testing::CliResult result = RunCli("explain \"" + file + "\" --as pcl --format json");
  EXPECT_EQ(result.status, 0);
  Value listing;
  ASSERT_NO_THROW(listing = Value::parse(result.output)) << result.output;
  EXPECT_EQ(listing["dialect"], "pcl");
  EXPECT_EQ(listing["summary"]["bytes"], 10);
  const Value& items = listing["lines"][0]["items"];
  ASSERT_EQ(items.size(), 7U) << items.dump();
  EXPECT_EQ(items[1], Value::parse(R"({"offset":3,"kind":"control","name":"0xE9","byte":233})"));
  EXPECT_EQ(items[3], Value::parse(R"({"offset":5,"kind":"control","name":"0xC3","byte":195})"));
  EXPECT_EQ(items[4], Value::parse(R"({"offset":6,"kind":"control","name":"0xA9","byte":169})"));
  EXPECT_EQ(listing["lines"][1]["items"][0]["name"], "FF");
}

}  // namespace
}  // namespace quorvel
