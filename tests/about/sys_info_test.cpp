#include "about/sys_info.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "fakes/fakes.h"

namespace quorvel {
namespace {

using testing::FakeFileLookup;
using testing::FakeProcessStarter;
using testing::FakeRegistry;
using testing::RecordingMessageDisplay;

const std::string kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH";
const std::string kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO";

RegistryData Data(std::uint32_t type, std::string bytes) {
  return {type, std::move(bytes)};
}

TEST(GetKeyValue, ConvertsEachValueType) {
  struct Case {
    RegistryData data;
    std::string expected;
  };
  const Case cases[] = {
      {Data(kRegSz, std::string("C:\\x.exe\0", 9)), "C:\\x.exe"},  // the final zero is dropped
      {Data(kRegSz, "no terminator"), "no terminator"},
      {Data(kRegSz, std::string("two\0\0", 5)), std::string("two\0", 4)},  // only one is dropped
      {Data(kRegDword, std::string("\x78\x56\x34\x12", 4)), "&h12345678"},
      {Data(kRegDword, std::string("\xAB\xCD\x0E\x00", 4)), "&h0ECDAB"},  // top zero byte dropped
      {Data(kRegExpandSz, std::string("%ProgramFiles%\\MSINFO\0", 22)),
       "C:\\Program Files\\MSINFO"},
      {Data(7, std::string("multi\0\0", 7)), "unchanged"},  // other types keep the text
  };
  for (const Case& c : cases) {
    FakeRegistry registry;
    registry.environment["ProgramFiles"] = "C:\\Program Files";
    registry.values[kPathKey] = c.data;
    std::string keyVal = "unchanged";
    EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine,
                            "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", keyVal));
    EXPECT_EQ(keyVal, c.expected);
    EXPECT_EQ(registry.lastCapacity, 1024u);
  }
}

TEST(GetKeyValue, MissingOrOversizeValuesEmptyTheTextAndEmptyDataThrows) {
  FakeRegistry registry;
  registry.values[kPathKey] = Data(kRegSz, std::string(1025, 'x'));
  std::string keyVal = "old";
  EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                           "PATH", keyVal));
  EXPECT_EQ(keyVal, "");
  keyVal = "old";
  EXPECT_FALSE(GetKeyValue(registry, kHkeyLocalMachine, "Nowhere", "PATH", keyVal));
  EXPECT_EQ(keyVal, "");

  registry.values[kPathKey] = Data(kRegSz, std::string(1024, 'x'));
  EXPECT_TRUE(GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                          "PATH", keyVal));
  EXPECT_EQ(keyVal.size(), 1024u);

  registry.values[kPathKey] = Data(kRegSz, "");
  EXPECT_THROW(GetKeyValue(registry, kHkeyLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO",
                           "PATH", keyVal),
               std::invalid_argument);
}

struct SysInfoFixture {
  FakeRegistry registry;
  FakeFileLookup files;
  FakeProcessStarter processes;
  RecordingMessageDisplay messages;
  void Run() { StartSysInfo({registry, files, processes, messages}); }
};

TEST(StartSysInfo, FindsTheToolThroughEitherKey) {
  const std::string program =
      "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
  const std::string folder = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo";

  SysInfoFixture byPath;  // the first key is started as it stands, without looking for the file
  byPath.registry.values[kPathKey] = Data(kRegSz, program + '\0');
  byPath.Run();
  EXPECT_EQ(byPath.processes.started, std::vector<std::string>{program});
  EXPECT_TRUE(byPath.files.asked.empty());
  EXPECT_TRUE(byPath.messages.shown.empty());

  SysInfoFixture byFolder;
  byFolder.registry.values[kFolderKey] = Data(kRegSz, folder + '\0');
  byFolder.files.normalFiles.insert(folder + "\\MSINFO32.EXE");
  byFolder.Run();
  EXPECT_EQ(byFolder.processes.started, std::vector<std::string>{folder + "\\MSINFO32.EXE"});
  EXPECT_TRUE(byFolder.messages.shown.empty());
}

TEST(StartSysInfo, EveryFailureEndsInTheOneMessage) {
  const std::string unavailable = "System Information Is Unavailable At This Time";
  SysInfoFixture nothing;
  nothing.Run();

  SysInfoFixture noFile;  // the folder lacks the program (or holds only a hidden one)
  noFile.registry.values[kFolderKey] = Data(kRegSz, "C:\\Tools");
  noFile.Run();

  SysInfoFixture startFails;
  startFails.registry.values[kPathKey] = Data(kRegSz, "C:\\gone.exe");
  startFails.processes.fails = true;
  startFails.Run();

  SysInfoFixture emptyValue;
  emptyValue.registry.values[kPathKey] = Data(kRegSz, "");
  emptyValue.Run();

  SysInfoFixture otherType;  // PATH found but of another type: nothing to start
  otherType.registry.values[kPathKey] = Data(3, "\x01\x02");
  otherType.Run();

  for (SysInfoFixture* f : {&nothing, &noFile, &startFails, &emptyValue, &otherType}) {
    EXPECT_EQ(f->messages.shown, std::vector<std::string>{unavailable});
  }
  EXPECT_TRUE(noFile.processes.started.empty());
  EXPECT_EQ(noFile.files.asked, std::vector<std::string>{"C:\\Tools\\MSINFO32.EXE"});
}

TEST(StartSysInfoFrom, StartsTheFirstInstalledTool) {
  const std::vector<SysInfoTool> tools{{"/usr/bin/hardinfo", ""},
                                       {"/usr/bin/gnome-control-center", "info-overview"}};
  FakeFileLookup files;
  FakeProcessStarter processes;
  RecordingMessageDisplay messages;
  files.normalFiles.insert("/usr/bin/gnome-control-center");
  StartSysInfoFrom(tools, files, processes, messages);
  EXPECT_EQ(processes.started,
            std::vector<std::string>{"/usr/bin/gnome-control-center info-overview"});
  EXPECT_TRUE(messages.shown.empty());

  FakeFileLookup none;
  StartSysInfoFrom(tools, none, processes, messages);
  EXPECT_EQ(messages.shown, std::vector<std::string>{std::string(kSysInfoUnavailable)});
}

}  // namespace
}  // namespace quorvel
