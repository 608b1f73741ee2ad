// quorvel-cli render as a user runs it: files written, clear errors, bounded output.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "cli/run_cli.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

class CliRender : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(QUORVEL_TEST_WORK) /
              ::testing::UnitTest::GetInstance()->current_test_info()->name();
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  std::string In(const std::string& name) const { return (folder_ / name).string(); }
  std::string Head(const std::string& name, std::size_t count) const {
    std::ifstream file(folder_ / name, std::ios::binary);
    std::string bytes(count, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(count));
    return bytes.substr(0, static_cast<std::size_t>(file.gcount()));
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }

  fs::path folder_;
};

TEST_F(CliRender, WritesPngAndPdfAndNamesTheFiles) {
  const testing::CliResult png =
      RunCli("render dot-matrix -o '" + In("sheet.png") + "' --dpi 100", true);
  EXPECT_EQ(png.status, 0);
  EXPECT_EQ(png.output, In("sheet.png") + "\n");
  EXPECT_EQ(Head("sheet.png", 8), "\x89PNG\r\n\x1A\n");
  const testing::CliResult pdf =
      RunCli("render pcl -o '" + In("sheet.pdf") + "' --paper letter", true);
  EXPECT_EQ(pdf.status, 0);
  EXPECT_EQ(Head("sheet.pdf", 5), "%PDF-");
}

TEST_F(CliRender, FailsClearlyOnPathsItCannotUse) {
  struct Case {
    std::string arguments;
    int status;
  };
  const std::vector<Case> cases{
      {"render '" + In("missing.prn") + "' -o '" + In("x.png") + "'", 1},
      {"render dot-matrix -o '" + In("no/such/folder/x.png") + "'", 1},
      {"render dot-matrix -o '" + In("no/such/folder/x.pdf") + "'", 1},
      {"render dot-matrix", 2},
      {"render dot-matrix -o x.png --dpi 10", 2},
      {"render dot-matrix -o x.png --paper a3", 2},
      {"render dot-matrix -o x.png --columns 100", 2},
      {"render dot-matrix -o x.png --quiet --verbose", 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunCli(c.arguments + " 2>&1").status, c.status) << c.arguments;
  }
  const testing::CliResult missing =
      RunCli("render '" + In("missing.prn") + "' -o '" + In("x.png") + "' 2>&1");
  EXPECT_NE(missing.output.find("cannot read"), std::string::npos) << missing.output;
  const testing::CliResult unwritable =
      RunCli("render dot-matrix -o '" + In("no/such/folder/x.png") + "' 2>&1");
  EXPECT_NE(unwritable.output.find("cannot write"), std::string::npos) << unwritable.output;
}

// The page sends ESC k 126 five times (docs/sheet.md): said once with its count by default, once
// each with its byte under --verbose, not at all under --quiet.
TEST_F(CliRender, SaysEachNoteOnceWithItsCount) {
  const std::string run = "render dot-matrix -o '" + In("sheet.png") + "' --dpi 36 2>&1 >/dev/null";
  const std::string note = "ESC k 126: no such typeface, the command is ignored";
  const std::string normal = RunCli(run).output;
  EXPECT_NE(normal.find(note + " (5 times)\n"), std::string::npos) << normal;
  EXPECT_EQ(normal.find(note), normal.rfind(note));
  const std::string verbose = RunCli(run + " --verbose").output;
  EXPECT_NE(verbose.find("note: byte 1148: " + note + "\n"), std::string::npos) << verbose;
  EXPECT_NE(verbose.find("approximate: "), std::string::npos);
  EXPECT_EQ(RunCli(run + " --quiet").output, "");
}

TEST_F(CliRender, DrawsAtMostAHundredPagesAndSaysSo) {
  Write("long.prn", std::string(150, '\f') + "more");
  const testing::CliResult result =
      RunCli("render '" + In("long.prn") + "' --as pcl -o '" + In("page.png") + "' --dpi 36 2>&1");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("only the first 100 are drawn"), std::string::npos);
  // Said once, not once more among the notes.
  EXPECT_EQ(result.output.find("past 100"), result.output.rfind("past 100"));
  EXPECT_TRUE(fs::exists(folder_ / "page-100.png"));
  EXPECT_FALSE(fs::exists(folder_ / "page-101.png"));
}

TEST_F(CliRender, AnyBytesRenderWithoutFailing) {
  std::mt19937 random(64);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string noise(64u << 20, '\0');
  for (char& c : noise) {
    c = static_cast<char>(byte(random));
  }
  Write("noise.prn", noise);
  Write("empty.prn", "");
  Write("cut.prn", std::string("\x1B\x10"
                               "A\x08\x00\x01",
                               6));
  for (const char* name : {"noise.prn", "empty.prn", "cut.prn"}) {
    for (const char* as : {"dot-matrix", "pcl"}) {
      const testing::CliResult result =
          RunCli("render '" + In(name) + "' --as " + as + " -o '" +
                     In(std::string(name) + "-" + as + ".png") + "' --dpi 36",
                 true);
      EXPECT_EQ(result.status, 0) << name << " " << as;
    }
  }
}

}  // namespace
}  // namespace quorvel
