// The Win32 adapters against Wine's own registry, file system, process start and spooler.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>

#include "about/sys_info.h"
#include "common/platform_error.h"
#include "platform/win32/dispatch_browser.h"
#include "platform/win32/win32_about_services.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/winspool_job_tracker.h"
#include "platform/win32/winspool_printer_list.h"
#include "platform/win32/winspool_spooler.h"
#include "window_driver.h"

#include <ole2.h>

namespace quorvel::win32 {
namespace {

constexpr const char* kTestKey = "SOFTWARE\\Quorvel Tests";

// Runs reg.exe (Wine's own) with `arguments` and waits for it; returns its exit code.
DWORD RunReg(const std::string& arguments) {
  std::string commandLine = "reg.exe " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &process)) {
    return ~0u;
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  DWORD code = ~0u;
  if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(process.hProcess, &code);
  }
  return code;
}

void AddValue(const std::string& name, const std::string& type, const std::string& data) {
  std::string arguments = "add \"HKLM\\" + std::string(kTestKey) + "\" /v " + name + " /t " + type;
  if (!data.empty()) {
    arguments += " /d \"" + data + "\"";
  }
  ASSERT_EQ(RunReg(arguments + " /f"), 0u) << arguments;
}

class RegistryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    AddValue("Text", "REG_SZ", "C:\\Program Files\\Tools\\msinfo32.exe");
    AddValue("Number", "REG_DWORD", "0x0012AB34");
    AddValue("Expandable", "REG_EXPAND_SZ", "%SystemRoot%\\system32");
    AddValue("Long", "REG_SZ", std::string(1100, 'x'));
    AddValue("Fits", "REG_SZ", std::string(1023, 'y'));
    AddValue("Empty", "REG_BINARY", "");
  }
  static void TearDownTestSuite() { RunReg("delete \"HKLM\\" + std::string(kTestKey) + "\" /f"); }
  Win32Registry registry;
};

TEST_F(RegistryTest, GetKeyValueReadsWhatRegAddWrote) {
  const char* systemRoot = std::getenv("SystemRoot");
  ASSERT_NE(systemRoot, nullptr);
  struct Case {
    const char* key;
    const char* value;
    bool found;
    std::string text;
  };
  const Case cases[] = {
      {kTestKey, "Text", true, "C:\\Program Files\\Tools\\msinfo32.exe"},
      {kTestKey, "Number", true, "&h12AB34"},
      {kTestKey, "Expandable", true, std::string(systemRoot) + "\\system32"},
      {kTestKey, "Fits", true, std::string(1023, 'y')},
      {kTestKey, "Long", false, ""},  // 1101 bytes do not fit the 1024-byte buffer
      {kTestKey, "Missing", false, ""},
      {"SOFTWARE\\Quorvel Tests\\No Such Key", "Text", false, ""},
  };
  for (const Case& c : cases) {
    std::string text = "left over";
    EXPECT_EQ(GetKeyValue(registry, kHkeyLocalMachine, c.key, c.value, text), c.found) << c.value;
    EXPECT_EQ(text, c.text) << c.value;
  }
}

TEST_F(RegistryTest, AValueOfNoBytesIsAnError) {
  std::string text;
  EXPECT_THROW(GetKeyValue(registry, kHkeyLocalMachine, kTestKey, "Empty", text),
               std::invalid_argument);
}

// A folder under the temporary directory, emptied of earlier runs.
std::string ScratchFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name;
  ::CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void MakeFile(const std::string& path, DWORD attributes) {
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::ofstream(path, std::ios::binary) << "MZ";
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), attributes)) << path;
}

TEST(FileLookupTest, OnlyNormalFilesCount) {
  const std::string folder = ScratchFolder("quorvel-files");
  struct Case {
    const char* name;
    DWORD attributes;  // 0: a folder of that name
    bool counts;
  };
  const Case cases[] = {
      {"normal.exe", FILE_ATTRIBUTE_NORMAL, true},
      {"readonly.exe", FILE_ATTRIBUTE_READONLY, true},
      {"archive.exe", FILE_ATTRIBUTE_ARCHIVE, true},
      {"hidden.exe", FILE_ATTRIBUTE_HIDDEN, false},
      {"system.exe", FILE_ATTRIBUTE_SYSTEM, false},
      {"folder.exe", 0, false},
  };
  for (const Case& c : cases) {
    const std::string path = folder + "\\" + c.name;
    if (c.attributes == 0) {
      ::CreateDirectoryA(path.c_str(), nullptr);
    } else {
      MakeFile(path, c.attributes);
    }
  }
  Win32FileLookup files;
  for (const Case& c : cases) {
    EXPECT_EQ(files.HasNormalFile(folder + "\\" + c.name), c.counts) << c.name;
  }
  EXPECT_FALSE(files.HasNormalFile(folder + "\\missing.exe"));
}

bool WaitForFile(const std::string& path, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    if (::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return true;
    }
    ::Sleep(100);
  }
  return false;
}

// An unquoted command line "...\Program Files Test\marker tool.exe" would run "...\Program.exe".
TEST(ProcessStarterTest, StartsTheProgramAtItsExactPathWithBlanks) {
  const std::string marker = testing::ProgramFromEnvironment("QUORVEL_MARKER");
  ASSERT_FALSE(marker.empty()) << "QUORVEL_MARKER is not set";
  const std::string folder = ScratchFolder("quorvel-start");
  const std::string spaced = folder + "\\Program Files Test";
  ::CreateDirectoryA(spaced.c_str(), nullptr);
  const std::string program = spaced + "\\marker tool.exe";
  const std::string hijack = folder + "\\Program.exe";
  for (const std::string& copy : {program, hijack}) {
    ASSERT_TRUE(::CopyFileA(marker.c_str(), copy.c_str(), FALSE)) << copy;
    ::DeleteFileA((copy + ".ran").c_str());
  }
  Win32ProcessStarter starter;
  starter.Start(program, "");
  ASSERT_TRUE(WaitForFile(program + ".ran", 15000));
  EXPECT_FALSE(WaitForFile(hijack + ".ran", 1000));
  EXPECT_THROW(starter.Start(folder + "\\no such program.exe", ""), PlatformError);
  EXPECT_THROW(starter.Start("", ""), PlatformError);
}

TEST(ProcessStarterTest, QuotesTheProgramOnItsCommandLine) {
  EXPECT_EQ(QuotedCommandLine("C:\\Program Files\\a.exe", ""), "\"C:\\Program Files\\a.exe\"");
  EXPECT_EQ(QuotedCommandLine("C:\\a.exe", "/x"), "\"C:\\a.exe\" /x");
}

TEST(SpoolerTest, RawUnlessTheDriverIsAnXpsDriver) {
  struct Case {
    DWORD attributes;
    const char* datatype;
  };
  const Case cases[] = {{0, "RAW"}, {0x1, "RAW"}, {0x2, "XPS_PASS"}, {0x3, "XPS_PASS"}};
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseDatatype(c.attributes), c.datatype) << c.attributes;
  }
}

TEST(SpoolerTest, AnUnknownPrinterIsNotOpened) {
  WinspoolSpooler spooler;
  EXPECT_FALSE(spooler.Open("Quorvel No Such Printer"));
  EXPECT_THROW(spooler.StartDocument("Command Print"), PlatformError);
}

TEST(SpoolerTest, ThePrinterListReadsWithoutError) {
  WinspoolPrinterList list;
  const std::vector<std::string> names = list.DeviceNames();
  const std::optional<std::string> defaultName = list.DefaultDeviceName();
  if (defaultName) {
    EXPECT_NE(std::find(names.begin(), names.end(), *defaultName), names.end());
  }
}

// The direct look-up gives the list's answer: every listed name, exactly, and nothing else.
TEST(SpoolerTest, TheDirectLookUpAgreesWithTheList) {
  WinspoolPrinterList list;
  for (const std::string& name : list.DeviceNames()) {
    EXPECT_TRUE(list.HasDeviceName(name)) << name;
    EXPECT_FALSE(list.HasDeviceName(name + " ")) << name;
    std::string upper = name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper != name) {
      EXPECT_FALSE(list.HasDeviceName(upper)) << name;
    }
  }
  EXPECT_FALSE(list.HasDeviceName(""));
  EXPECT_FALSE(list.HasDeviceName("Quorvel No Such Printer"));
}

TEST(SpoolerTest, TheTrackerKnowsNoJobAndNoPrinterOfAnUnknownName) {
  WinspoolJobTracker tracker;
  EXPECT_FALSE(tracker.QueryPrinter("Quorvel No Such Printer").exists);
  const std::vector<JobStatus> jobs = tracker.QueryJobs({{"Quorvel No Such Printer", 1}});
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(jobs[0].state, JobState::kGone);
}

TEST(BrowserTest, AMissingAutomationObjectIsAnErrorNotACrash) {
  ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
  DispatchBrowser browser("Quorvel.NoSuchObject");
  try {
    browser.Navigate("https://quorvel.example.org/");
    ADD_FAILURE() << "Navigate succeeded";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.Operation(), "CreateObject Quorvel.NoSuchObject");
    EXPECT_FALSE(error.Reason().empty());
  }
  ::OleUninitialize();
}

TEST(ErrorTextTest, TheSystemsReasonWithoutTheLineBreak) {
  const std::string text = SystemMessage(ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(text.empty());
  EXPECT_NE(text.back(), '\n');
  EXPECT_EQ(SystemMessage(0x7FFFFFF0u).rfind("error 0x", 0), 0u);
}

}  // namespace
}  // namespace quorvel::win32
