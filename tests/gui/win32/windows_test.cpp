// Form1 and frmAbout built in this process around recording fakes: menus, the printer list, the
// test buttons, and errors that leave a handler (reported, and the window lives on).

#include <gtest/gtest.h>

#include <stdexcept>

#include "about/about_layout.h"
#include "fakes/fakes.h"
#include "gui/win32/about_window.h"
#include "gui/win32/form1.h"
#include "window_driver.h"

namespace quorvel::win32 {
namespace {

using testing::ChildByText;
using testing::WindowText;

class RecordingHost : public WindowHost {
 public:
  void ShowAbout() override { ++aboutRequests; }
  void Exit() override { ++exits; }
  void WindowClosed() override { ++closed; }
  int aboutRequests = 0, exits = 0, closed = 0;
};

class FailingPrinterList : public PrinterList {
 public:
  std::vector<std::string> DeviceNames() override {
    throw PlatformError("EnumPrinters", "The RPC server is unavailable.");
  }
  std::optional<std::string> DefaultDeviceName() override { return std::nullopt; }
};

class WindowsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    DesignedWindow::RegisterClass(Form1::kClassName, nullptr);
    DesignedWindow::RegisterClass(AboutWindow::kClassName, nullptr);
  }
  void Click(HWND window, const char* caption) {
    HWND button = ChildByText(window, "Button", caption);
    ASSERT_NE(button, nullptr) << caption;
    ::SendMessageA(button, BM_CLICK, 0, 0);
  }
  RecordingHost host;
  quorvel::testing::RecordingMessageDisplay messages;
  quorvel::testing::RecordingSpooler spooler;
};

std::string MenuText(HMENU menu, UINT position) {
  char text[64] = {};
  const int length = ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return std::string(text, static_cast<std::size_t>(length));
}

TEST_F(WindowsTest, Form1HasItsMenusAndFillsTheListWithTheDefaultShown) {
  quorvel::testing::FakePrinterList printers({"Alpha", "Virtual", "Zeta"}, "Virtual");
  Form1 form1(host, printers, spooler, messages);
  HMENU bar = ::GetMenu(form1.Handle());
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(MenuText(bar, 0), "File");
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 0), 0), "Exit");
  EXPECT_EQ(MenuText(bar, 1), "Help");
  EXPECT_EQ(MenuText(::GetSubMenu(bar, 1), 0), "About");
  HWND combo = form1.Control("Combo1");
  ASSERT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(WindowText(combo), "Virtual");
  EXPECT_TRUE(messages.shown.empty());

  ::SendMessageA(form1.Handle(), WM_COMMAND, MAKEWPARAM(Form1::kAboutCommand, 0), 0);
  ::SendMessageA(form1.Control("Image1"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageA(form1.Control("Image1"), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(host.aboutRequests, 2);
  ::SendMessageA(form1.Handle(), WM_COMMAND, MAKEWPARAM(Form1::kExitCommand, 0), 0);
  EXPECT_EQ(host.exits, 1);
}

TEST_F(WindowsTest, BothButtonsSendTheirPageToTheListedPrinter) {
  quorvel::testing::FakePrinterList printers({"Virtual"}, "Virtual");
  Form1 form1(host, printers, spooler, messages);
  Click(form1.Handle(), "EpsonFX /  IBM Proprinter");
  Click(form1.Handle(), "PCL");
  const std::vector<std::string> expected{"Open Virtual",
                                          "StartDocument Command Print",
                                          "StartPage",
                                          "Write 1154",
                                          "EndPage",
                                          "EndDocument",
                                          "Close",
                                          "Open Virtual",
                                          "StartDocument Command Print",
                                          "StartPage",
                                          "Write 441",
                                          "EndPage",
                                          "EndDocument",
                                          "Close"};
  EXPECT_EQ(spooler.calls, expected);
  EXPECT_EQ(messages.shown, (std::vector<std::string>{"Executed", "Executed"}));
}

TEST_F(WindowsTest, AnErrorInAHandlerIsReportedAndTheWindowLivesOn) {
  FailingPrinterList printers;
  Form1 form1(host, printers, spooler, messages);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0],
            "Reading the installed printers failed.\nEnumPrinters: The RPC server is unavailable.");
  EXPECT_EQ(WindowText(form1.Control("Combo1")), "Combo1");
  Click(form1.Handle(), "PCL");
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1],
            "Printing the test page failed.\nEnumPrinters: The RPC server is unavailable.");
  EXPECT_TRUE(::IsWindow(form1.Handle()));
  EXPECT_TRUE(spooler.calls.empty());
}

TEST_F(WindowsTest, AboutReportsWhenNoBrowserOpensAndWhenSystemInformationIsMissing) {
  quorvel::testing::FakeRegistry registry;
  quorvel::testing::FakeFileLookup files;
  quorvel::testing::FakeProcessStarter processes;
  quorvel::testing::FakeBrowser classic(true);
  quorvel::testing::FakeBrowser desktop(true);
  AboutWindow about(host, {registry, files, processes, classic, desktop}, messages, nullptr);
  const std::string homePage(kHomePage);
  Click(about.Handle(), homePage.c_str());
  EXPECT_EQ(classic.navigated, (std::vector<std::string>{homePage}));
  EXPECT_EQ(desktop.navigated, (std::vector<std::string>{homePage}));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].rfind("Opening the home page failed.\nNavigate: no browser", 0), 0u);
  Click(about.Handle(), "&System Info...");
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1], "System Information Is Unavailable At This Time");
  EXPECT_TRUE(processes.started.empty());
  Click(about.Handle(), "OK");
  EXPECT_EQ(about.Handle(), nullptr);
  EXPECT_EQ(host.closed, 1);
}

// The text colour a label is drawn with, as its window tells the static control.
COLORREF LabelTextColor(HWND window, HWND label) {
  HDC dc = ::CreateCompatibleDC(nullptr);
  ::SendMessageA(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(label));
  const COLORREF color = ::GetTextColor(dc);
  ::DeleteDC(dc);
  return color;
}

// Labels without a colour of their own follow the system's window-text colour; the About
// window's title and description stay black.
TEST_F(WindowsTest, LabelsUseTheSystemsWindowTextUnlessDesignedBlack) {
  const int element = COLOR_WINDOWTEXT;
  const COLORREF saved = ::GetSysColor(element);
  const COLORREF navy = RGB(0, 0, 128);
  ASSERT_TRUE(::SetSysColors(1, &element, &navy));
  quorvel::testing::FakePrinterList printers({}, std::nullopt);
  Form1 form1(host, printers, spooler, messages);
  quorvel::testing::FakeRegistry registry;
  quorvel::testing::FakeFileLookup files;
  quorvel::testing::FakeProcessStarter processes;
  quorvel::testing::FakeBrowser browser;
  AboutWindow about(host, {registry, files, processes, browser, browser}, messages, nullptr);
  struct Case {
    HWND window;
    const char* name;
    COLORREF color;
  };
  const Case cases[] = {
      {form1.Handle(), "Label1", navy},
      {form1.Handle(), "Label2", navy},
      {about.Handle(), "lblVersion", navy},
      {about.Handle(), "lblTitle", RGB(0, 0, 0)},
      {about.Handle(), "lblDescription", RGB(0, 0, 0)},
  };
  for (const Case& c : cases) {
    HWND label = c.window == form1.Handle() ? form1.Control(c.name) : about.Control(c.name);
    EXPECT_EQ(LabelTextColor(c.window, label), c.color) << c.name;
  }
  ::SetSysColors(1, &element, &saved);
}

}  // namespace
}  // namespace quorvel::win32
