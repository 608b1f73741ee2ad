// Quorvel.exe itself, driven from this process by messages as a user's clicks and keys reach it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/win32/form1.h"
#include "window_driver.h"

#include <winspool.h>

namespace quorvel::testing {
namespace {

constexpr DWORD kShowTimeout = 20000;

class QuorvelExeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HDC screen = ::GetDC(nullptr);
    ASSERT_EQ(::GetDeviceCaps(screen, LOGPIXELSY), 96) << "the sizes below are for 96 dpi";
    ::ReleaseDC(nullptr, screen);
    const std::string program = ProgramFromEnvironment("QUORVEL_EXE");
    ASSERT_FALSE(program.empty()) << "QUORVEL_EXE is not set";
    quorvel = std::make_unique<RunningProgram>(program);
    form1 = quorvel->WaitForWindow("Form1", kShowTimeout);
    ASSERT_NE(form1, nullptr);
  }
  HWND OpenAbout() {
    PostMenuCommand(form1, win32::Form1::kAboutCommand);
    return quorvel->WaitForWindow("About MyApp", kShowTimeout);
  }
  // No message box (so no print and no error) within a second.
  void ExpectNoMessageBox() { EXPECT_FALSE(quorvel->WaitForMessageBox(1000).has_value()); }

  std::unique_ptr<RunningProgram> quorvel;
  HWND form1 = nullptr;
};

struct ExpectedControl {
  const char* className;
  const char* text;
  RECT rect;  // pixels at 96 dpi, in the client area
};

void ExpectControls(HWND window, const std::vector<ExpectedControl>& controls) {
  for (const ExpectedControl& c : controls) {
    HWND child = ChildByText(window, c.className, c.text);
    ASSERT_NE(child, nullptr) << c.text;
    const RECT rect = ChildRect(child);
    EXPECT_EQ(rect.left, c.rect.left) << c.text;
    EXPECT_EQ(rect.top, c.rect.top) << c.text;
    EXPECT_EQ(rect.right, c.rect.right) << c.text;
    EXPECT_EQ(rect.bottom, c.rect.bottom) << c.text;
  }
}

TEST_F(QuorvelExeTest, Form1IsLaidOutAsDesigned) {
  EXPECT_EQ(WindowText(form1), "Form1");
  const SIZE client = ClientSize(form1);
  EXPECT_EQ(client.cx, 441);
  EXPECT_EQ(client.cy, 291);
  ExpectControls(form1, {
                            {"Static", "", {7, 8, 433, 86}},  // the logo at its own 426 x 78
                            {"Static", "OCR-B test for printers. ", {7, 96, 432, 113}},
                            {"Button", "EpsonFX /  IBM Proprinter", {128, 248, 209, 281}},
                            {"Button", "PCL", {232, 248, 313, 281}},
                        });
  HWND combo = ::FindWindowExA(form1, nullptr, "ComboBox", nullptr);
  ASSERT_NE(combo, nullptr);
  const RECT rect = ChildRect(combo);
  EXPECT_EQ(rect.left, 88);
  EXPECT_EQ(rect.top, 216);
  EXPECT_EQ(rect.right - rect.left, 265);
  // 24 as designed, unless the font's line (Wine substitutes MS Sans Serif) needs a little more.
  EXPECT_GE(rect.bottom - rect.top, 24);
  EXPECT_LE(rect.bottom - rect.top, 28);
}

// The list holds Wine's printers in the spooler's order and shows the default printer.
TEST_F(QuorvelExeTest, TheListHoldsTheInstalledPrintersAndShowsTheDefault) {
  DWORD needed = 0, returned = 0;
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  ::EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &returned);
  std::vector<BYTE> buffer(needed + 1);
  ASSERT_TRUE(::EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &returned));
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  HWND combo = ::FindWindowExA(form1, nullptr, "ComboBox", nullptr);
  ASSERT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), static_cast<LRESULT>(returned));
  for (DWORD i = 0; i < returned; ++i) {
    char text[512] = {};
    ::SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, info[i].pPrinterName);
  }
  char defaultName[512] = {};
  DWORD size = sizeof defaultName;
  const bool hasDefault = ::GetDefaultPrinterA(defaultName, &size);
  EXPECT_EQ(WindowText(combo), hasDefault ? std::string(defaultName) : std::string("Combo1"));
}

TEST_F(QuorvelExeTest, TabMovesThroughTheListAndButtonsAndEnterOrEscPrintNothing) {
  HWND combo = ::FindWindowExA(form1, nullptr, "ComboBox", nullptr);
  HWND focus = quorvel->Focus();
  ASSERT_NE(focus, nullptr);
  EXPECT_TRUE(focus == combo || ::GetParent(focus) == combo);
  PostKey(focus, VK_RETURN);
  PostKey(focus, VK_ESCAPE);
  ExpectNoMessageBox();
  const char* order[] = {"EpsonFX /  IBM Proprinter", "PCL"};
  for (const char* caption : order) {
    PostKey(quorvel->Focus(), VK_TAB);
    Pause(300);
    EXPECT_EQ(quorvel->Focus(), ChildByText(form1, "Button", caption)) << caption;
  }
  PostKey(quorvel->Focus(), VK_TAB);
  Pause(300);
  focus = quorvel->Focus();
  EXPECT_TRUE(focus == combo || ::GetParent(focus) == combo);
}

TEST_F(QuorvelExeTest, TheAboutWindowIsOneModelessWindowWithoutATaskBarButton) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  const SIZE client = ClientSize(about);
  EXPECT_EQ(client.cx, 382);
  EXPECT_EQ(client.cy, 237);
  HWND owner = ::GetWindow(about, GW_OWNER);
  EXPECT_NE(owner, nullptr);
  EXPECT_NE(owner, form1);
  EXPECT_FALSE(::IsWindowVisible(owner));
  ExpectControls(about, {
                            {"Button", "OK", {283, 175, 367, 198}},
                            {"Button", "&System Info...", {284, 205, 367, 228}},
                            {"Static", "Quorvel", {70, 16, 329, 48}},
                            {"Static", "Version 1.0", {70, 52, 329, 67}},
                            {"Static", "", {16, 16, 52, 52}},  // picIcon: 540 x 540 twips
                        });
  // The 32 x 32 icon sits inside the box's sunken border at its own size.
  RECT iconClient{};
  ::GetClientRect(ChildByText(about, "Static", ""), &iconClient);
  EXPECT_EQ(iconClient.right, 32);
  EXPECT_EQ(iconClient.bottom, 32);
  EXPECT_EQ(quorvel->Focus(), ChildByText(about, "Button", "OK"));
  // A second request and a click on the logo bring the same window forward.
  PostMenuCommand(form1, win32::Form1::kAboutCommand);
  HWND logo = ::FindWindowExA(form1, nullptr, "Static", "");
  ::PostMessageA(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageA(logo, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  Pause(1000);
  EXPECT_EQ(quorvel->TopWindows("About MyApp").size(), 1u);
  // Esc closes it; the next request creates it afresh.
  Pause(500);
  PostKey(quorvel->Focus(), VK_ESCAPE);
  EXPECT_TRUE(WaitUntilGone(about, 10000));
  about = OpenAbout();
  ASSERT_NE(about, nullptr);
  PostKey(quorvel->Focus(), VK_RETURN);
  EXPECT_TRUE(WaitUntilGone(about, 10000));
}

TEST_F(QuorvelExeTest, AltSStartsSystemInformationOrSaysItIsUnavailable) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  PostAltKey(quorvel->Focus(), 's');
  const std::optional<MessageBoxSeen> box = quorvel->WaitForMessageBox(10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, "Quorvel");
  EXPECT_EQ(box->text, "System Information Is Unavailable At This Time");
  EXPECT_TRUE(CloseMessageBox(box->window));
  EXPECT_TRUE(::IsWindow(about));
}

// The version record carries the same number that quorvel-cli --version prints.
TEST(QuorvelExeVersion, TheVersionRecordSaysQuorvel100) {
  const std::string program = ProgramFromEnvironment("QUORVEL_EXE");
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(program.c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> record(size);
  ASSERT_TRUE(::GetFileVersionInfoA(program.c_str(), 0, size, record.data()));
  const char* kValues[][2] = {{"ProductName", "Quorvel"},
                              {"InternalName", "Quorvel"},
                              {"FileVersion", "1.00"},
                              {"ProductVersion", "1.00"}};
  for (const auto& [name, expected] : kValues) {
    const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueA(record.data(), path.c_str(), &value, &length)) << name;
    EXPECT_STREQ(static_cast<const char*>(value), expected) << name;
  }
}

TEST_F(QuorvelExeTest, ExitEndsTheProgramWithBothWindows) {
  ASSERT_NE(OpenAbout(), nullptr);
  PostMenuCommand(form1, win32::Form1::kExitCommand);
  EXPECT_TRUE(quorvel->WaitForExit(10000));
}

TEST_F(QuorvelExeTest, ClosingForm1LeavesTheAboutWindowRunningTheProgram) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  ::PostMessageA(form1, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntilGone(form1, 10000));
  EXPECT_FALSE(quorvel->WaitForExit(1000));
  EXPECT_TRUE(::IsWindow(about));
  ::PostMessageA(ChildByText(about, "Button", "OK"), BM_CLICK, 0, 0);
  EXPECT_TRUE(quorvel->WaitForExit(10000));
}

}  // namespace
}  // namespace quorvel::testing
