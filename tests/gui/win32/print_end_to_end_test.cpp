// Quorvel.exe's buttons end to end: Wine's winspool, the private cupsd's raw queue "Virtual" and
// the capture listener, which saves each job's bytes (run by run_print_end_to_end).

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "fakes/expected_pages.h"
#include "gui/win32/form1.h"
#include "window_driver.h"

namespace quorvel::testing {
namespace {

constexpr DWORD kTimeout = 20000;

std::string CaptureFile(int number) {
  char name[32];
  std::snprintf(name, sizeof name, "\\job-%06d.prn", number);
  return ProgramFromEnvironment("QUORVEL_CAPTURE_DIR") + name;
}

// The capture's bytes once the listener has completed the file; empty after the time.
std::string WaitForCapture(int number, DWORD milliseconds) {
  const std::string path = CaptureFile(number);
  for (DWORD waited = 0; waited <= milliseconds; waited += 100) {
    std::ifstream in(path, std::ios::binary);
    if (in) {
      return std::string(std::istreambuf_iterator<char>(in), {});
    }
    Pause(100);
  }
  return {};
}

class PrintEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    quorvel = std::make_unique<RunningProgram>(ProgramFromEnvironment("QUORVEL_EXE"));
    form1 = quorvel->WaitForWindow("Form1", kTimeout);
    ASSERT_NE(form1, nullptr);
    combo = ::FindWindowExA(form1, nullptr, "ComboBox", nullptr);
  }
  // Types `printer` into the list's field, presses `button` and returns the message shown.
  std::string Print(const std::string& printer, const char* button) {
    ::SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(printer.c_str()));
    ::PostMessageA(ChildByText(form1, "Button", button), BM_CLICK, 0, 0);
    const std::optional<MessageBoxSeen> box = quorvel->WaitForMessageBox(kTimeout);
    if (!box) {
      return "(no message box)";
    }
    EXPECT_EQ(box->title, "Quorvel");
    EXPECT_TRUE(CloseMessageBox(box->window));
    return box->text;
  }
  std::unique_ptr<RunningProgram> quorvel;
  HWND form1 = nullptr;
  HWND combo = nullptr;
};

TEST_F(PrintEndToEndTest, BothButtonsDeliverTheirJobsByteForByte) {
  ASSERT_NE(::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>("Virtual")),
            CB_ERR)
      << "Wine does not list the queue Virtual";
  EXPECT_EQ(Print("Virtual", "EpsonFX /  IBM Proprinter"), "Executed");
  const std::string dotMatrix = WaitForCapture(1, kTimeout);
  EXPECT_EQ(dotMatrix.size(), 1154u);
  EXPECT_TRUE(dotMatrix == ExpectedDotMatrixJob());
  EXPECT_EQ(Print("Virtual", "PCL"), "Executed");
  const std::string pcl = WaitForCapture(2, kTimeout);
  EXPECT_EQ(pcl.size(), 441u);
  EXPECT_TRUE(pcl == ExpectedPclJob());
}

// Wine, like Windows, opens a printer whatever the case of its name: the exact comparison of
// the program decides first, and nothing is sent.
TEST_F(PrintEndToEndTest, AnUnknownNameOrOtherCaseSendsNothing) {
  const int before = WaitForCapture(1, 0).empty() ? 1 : 3;
  for (const char* name : {"No Such Printer", "virtual", "VIRTUAL", "Virtual "}) {
    EXPECT_EQ(Print(name, "PCL"), "The Printer Name you typed wasn't recognized.") << name;
  }
  EXPECT_TRUE(WaitForCapture(before, 2000).empty());
}

// While "Executed" is up no window of the program takes input, the About window included; both
// do again once OK is pressed.
TEST_F(PrintEndToEndTest, AMessageBoxBlocksEveryWindowUntilOk) {
  PostMenuCommand(form1, win32::Form1::kAboutCommand);
  HWND about = quorvel->WaitForWindow("About MyApp", kTimeout);
  ASSERT_NE(about, nullptr);
  ::SetForegroundWindow(form1);
  ::SendMessageA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Virtual"));
  ::PostMessageA(ChildByText(form1, "Button", "PCL"), BM_CLICK, 0, 0);
  const std::optional<MessageBoxSeen> box = quorvel->WaitForMessageBox(kTimeout);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->text, "Executed");
  EXPECT_FALSE(::IsWindowEnabled(form1));
  EXPECT_FALSE(::IsWindowEnabled(about));
  EXPECT_TRUE(CloseMessageBox(box->window));
  Pause(500);
  EXPECT_TRUE(::IsWindowEnabled(form1));
  EXPECT_TRUE(::IsWindowEnabled(about));
}

}  // namespace
}  // namespace quorvel::testing
