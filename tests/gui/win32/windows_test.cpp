// Form1 and frmAbout built in this process around recording fakes: menus, the printer list, the
// test buttons, and errors that leave a handler (reported, and the window lives on).

#include <gtest/gtest.h>

#include <optional>
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

// A printer list whose questions fail, each one or all, until the spooler answers again.
class UnansweredPrinterList : public quorvel::testing::FakePrinterList {
 public:
  UnansweredPrinterList(bool defaultFails, bool namesFail)
      : FakePrinterList({"Virtual"}, "Virtual"), defaultFails(defaultFails), namesFail(namesFail) {}
  std::optional<std::string> DefaultDeviceName() override {
    if (defaultFails) {
      throw PlatformError("GetDefaultPrinter", "The RPC server is unavailable.");
    }
    return FakePrinterList::DefaultDeviceName();
  }
  std::vector<std::string> DeviceNames() override {
    if (namesFail) {
      throw PlatformError("EnumPrinters", "The RPC server is unavailable.");
    }
    return FakePrinterList::DeviceNames();
  }
  bool defaultFails, namesFail;
};

// Form1 opens whatever the printer list answers at start-up, says what failed as every handler
// does, and prints once the spooler answers again.
TEST_F(WindowsTest, AStartUpFailureIsReportedAndForm1OpensAndPrintsLater) {
  struct Case {
    bool defaultFails;
    bool namesFail;
    const char* shown;
  };
  const Case cases[] = {
      {true, false,
       "Reading the installed printers failed.\nGetDefaultPrinter: The RPC server is unavailable."},
      {true, true,
       "Reading the installed printers failed.\nGetDefaultPrinter: The RPC server is unavailable."},
      {false, true,
       "Reading the installed printers failed.\nEnumPrinters: The RPC server is unavailable."},
  };
  for (const Case& c : cases) {
    UnansweredPrinterList printers(c.defaultFails, c.namesFail);
    messages.shown.clear();
    spooler.calls.clear();
    std::optional<Form1> form1;
    ASSERT_NO_THROW(form1.emplace(host, printers, spooler, messages)) << c.shown;
    ASSERT_NE(form1->Handle(), nullptr) << c.shown;
    EXPECT_EQ(messages.shown, (std::vector<std::string>{c.shown}));
    HWND combo = form1->Control("Combo1");
    EXPECT_EQ(::SendMessageA(combo, CB_GETCOUNT, 0, 0), 0) << c.shown;
    EXPECT_EQ(WindowText(combo), "Combo1") << c.shown;

    printers.defaultFails = false;
    printers.namesFail = false;
    ::SetWindowTextA(combo, "Virtual");
    Click(form1->Handle(), "PCL");
    EXPECT_EQ(spooler.calls,
              (std::vector<std::string>{"Open Virtual", "StartDocument Command Print", "StartPage",
                                        "Write 441", "EndPage", "EndDocument", "Close"}))
        << c.shown;
    EXPECT_EQ(messages.shown.back(), "Executed") << c.shown;
  }
}

// The default printer still cannot be read when the button is pressed: the print says so.
TEST_F(WindowsTest, AStartUpFailureThatLastsIsReportedAtEachPrint) {
  UnansweredPrinterList printers(true, false);
  Form1 form1(host, printers, spooler, messages);
  Click(form1.Handle(), "EpsonFX /  IBM Proprinter");
  EXPECT_EQ(messages.shown,
            (std::vector<std::string>{
                "Reading the installed printers failed.\nGetDefaultPrinter: The RPC server is "
                "unavailable.",
                "Printing the test page failed.\nGetDefaultPrinter: The RPC server is "
                "unavailable."}));
  EXPECT_TRUE(spooler.calls.empty());
  EXPECT_TRUE(::IsWindow(form1.Handle()));
}

// Presses both buttons of `form1` once, then forgets it: clicks that arrive while the job is
// being written or while its message is up (once, so that a window without a guard fails the test
// instead of recursing).
void ClickBothButtonsOnce(HWND& form1) {
  HWND window = form1;
  form1 = nullptr;
  if (window != nullptr) {
    ::SendMessageA(ChildByText(window, "Button", "PCL"), BM_CLICK, 0, 0);
    ::SendMessageA(ChildByText(window, "Button", "EpsonFX /  IBM Proprinter"), BM_CLICK, 0, 0);
  }
}

class ClickingSpooler : public quorvel::testing::RecordingSpooler {
 public:
  std::size_t Write(std::string_view bytes) override {
    ClickBothButtonsOnce(form1);
    return RecordingSpooler::Write(bytes);
  }
  HWND form1 = nullptr;
};

class ClickingMessageDisplay : public quorvel::testing::RecordingMessageDisplay {
 public:
  void Show(std::string_view text) override {
    RecordingMessageDisplay::Show(text);
    ClickBothButtonsOnce(form1);
  }
  HWND form1 = nullptr;
};

TEST_F(WindowsTest, ClicksWhileAPrintIsInProgressAreIgnored) {
  struct Case {
    const char* when;
    bool duringWrite;
  };
  const Case cases[] = {{"while the job is written", true}, {"while its message is up", false}};
  for (const Case& c : cases) {
    quorvel::testing::FakePrinterList printers({"Virtual"}, "Virtual");
    ClickingSpooler clickingSpooler;
    ClickingMessageDisplay clickingMessages;
    Form1 form1(host, printers, clickingSpooler, clickingMessages);
    (c.duringWrite ? clickingSpooler.form1 : clickingMessages.form1) = form1.Handle();
    Click(form1.Handle(), "EpsonFX /  IBM Proprinter");
    EXPECT_EQ(clickingSpooler.calls,
              (std::vector<std::string>{"Open Virtual", "StartDocument Command Print", "StartPage",
                                        "Write 1154", "EndPage", "EndDocument", "Close"}))
        << c.when;
    EXPECT_EQ(clickingMessages.shown, (std::vector<std::string>{"Executed"})) << c.when;

    // Once the print is over, the buttons work again.
    Click(form1.Handle(), "PCL");
    EXPECT_EQ(clickingSpooler.calls.size(), 14u) << c.when;
    EXPECT_EQ(clickingSpooler.written.back().size(), 441u) << c.when;
  }
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
