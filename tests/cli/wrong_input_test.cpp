// Wrong inputs as a new user gives them: each is refused with the status of the one table and a
// message that names what was given; no parser's or library's own words reach the user.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/run_cli.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::RunCli;

#ifndef _WIN32
// Files that start as each format's definition says its files start; nothing else in them.
void WriteSignatures(const fs::path& folder) {
  const std::vector<std::pair<const char*, std::string>> files{
      {"photo.jpg", std::string("\xFF\xD8\xFF\xE0\0\x10JFIF\0", 11)},
      {"scan.png", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)},
      {"scan.tif", std::string("II*\0\x08\0\0\0", 8)},
      {"scan.bmp", std::string("BM\x36\0\x0C\0\0\0\0\0\x36\0", 12)},
      {"anim.gif", "GIF89a\x01\0\x01\0"},
      {"photo.webp", std::string("RIFF\x24\0\0\0WEBPVP8 ", 16)},
      {"photo.heic", std::string("\0\0\0\x18"
                                 "ftypheic\0\0\0\0",
                                 16)},
      {"sheet.pdf", "%PDF-1.7\n"},
      {"notes.txt", "not a folder"},
  };
  for (const auto& [name, bytes] : files) {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }
}

struct WrongInput {
  std::string arguments;  // after quorvel-cli; IN/ stands for the test's folder
  int status;
  std::string named;  // a word of the message: what was given
};

TEST(WrongInput, EachIsRefusedWithItsStatusAndNamesWhatWasGiven) {
  const fs::path folder = fs::path(QUORVEL_TEST_OUTPUT_DIR) / "wrong-input";
  fs::remove_all(folder);
  fs::create_directories(folder);
  WriteSignatures(folder);
  const std::vector<WrongInput> cases{
      {"render IN/photo.jpg -o IN/s.png", 1, "a JPEG picture"},
      {"explain IN/photo.jpg", 1, "a JPEG picture"},
      {"explain IN/scan.png", 1, "a PNG picture"},
      {"explain IN/scan.tif", 1, "a TIFF picture"},
      {"explain IN/scan.bmp", 1, "a BMP picture"},
      {"explain IN/anim.gif", 1, "a GIF picture"},
      {"explain IN/photo.webp", 1, "a WebP picture"},
      {"explain IN/photo.heic", 1, "a HEIF picture"},
      {"explain IN/sheet.pdf", 1, "a PDF document"},
      {"explain IN", 1, "a folder"},
      {"render dotmatrix -o IN/s.png", 1, "dotmatrix: there is no such file"},
      {"verify IN/scan.png --page IN/photo.jpg", 1, "photo.jpg as a job: it is a JPEG"},
      {"print IN/photo.jpg", 2, "photo.jpg is a JPEG picture"},
      {"dump IN/sheet.pdf", 2, "sheet.pdf is a PDF document"},
      {"dump dotmatrix", 2, "\"dotmatrix\" is not a test page"},
      {"render dot-matrix -o IN", 2, "is a folder"},
      {"render dot-matrix -o IN/x.jpg", 2, "x.jpg: render writes PNG or PDF"},
      {"render dot-matrix -o -", 2, "not standard output"},
      {"render dot-matrix -o IN/none/x.png", 1, "there is no folder"},
      {"listen --out IN/notes.txt", 2, "notes.txt is a file, not a folder"},
      {"listen --bind 300.1.2.3", 2, "\"300.1.2.3\" is not a numeric address"},
      {"listen --port 70000", 2, "70000 is out of range"},
      {"listen --pjl-fault 1", 2, "\"1\" is not taken: give zero-pages"},
      {"print pcl --wait=abc", 2, "\"abc\" is not a whole number"},
      {"check --format xml", 2, "\"xml\" is not taken"},
      {"--printer Virtual print pcl", 2, "quorvel-cli print pcl --printer Virtual"},
      {"help bogus", 2, "\"bogus\" is not a command"},
      {"bogus", 2, "\"bogus\" is not a command"},
      {"print pcl --printer", 2, "--printer needs a value"},
  };
  for (WrongInput c : cases) {
    for (std::size_t at; (at = c.arguments.find("IN")) != std::string::npos;) {
      c.arguments.replace(at, 2, folder.string());
    }
    const testing::CliResult result = RunCli(c.arguments + " 2>&1");
    EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.named), std::string::npos) << c.arguments << "\n"
                                                              << result.output;
    for (const char* internal : {"Could not convert", "not in range", "filesystem error",
                                 "basic_filebuf", "required TEXT", "FAILED"}) {
      EXPECT_EQ(result.output.find(internal), std::string::npos) << c.arguments;
    }
  }
  EXPECT_FALSE(fs::exists(folder / "x.jpg"));
  EXPECT_FALSE(fs::exists("-"));
}
#endif

// help and --help say the same, and an optional value shows as optional.
TEST(WrongInput, HelpCommandGivesTheCommandsHelp) {
  const testing::CliResult help = RunCli("help print");
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.output, RunCli("print --help").output);
  EXPECT_NE(help.output.find("--wait[=SECONDS]"), std::string::npos) << help.output;
  EXPECT_NE(help.output.find("--snmp[=COMMUNITY]"), std::string::npos) << help.output;
  EXPECT_EQ(RunCli("help").output, RunCli("--help").output);
  const std::string listen = RunCli("listen --help").output;
  EXPECT_NE(listen.find("--pjl-fault FAULT"), std::string::npos) << listen;
  EXPECT_EQ(listen.find("->"), std::string::npos) << listen;
}

}  // namespace
}  // namespace quorvel
