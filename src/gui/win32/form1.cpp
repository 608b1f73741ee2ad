#include "gui/win32/form1.h"

#include <string>

#include "app/form1_layout.h"
#include "common/error_report.h"
#include "gui/win32/resource_ids.h"
#include "gui/win32/scaled_picture.h"
#include "gui/win32/win32_combo_box.h"
#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"
#include "platform/win32/win32_error.h"
#include "printing/print_flow.h"

namespace quorvel::win32 {
namespace {

constexpr int kFirstControlId = 100;  // never IDOK or IDCANCEL: Enter and Esc press nothing here

HMENU MakeMenuBar() {
  HMENU bar = ::CreateMenu();
  HMENU file = ::CreatePopupMenu();
  HMENU help = ::CreatePopupMenu();
  if (bar == nullptr || file == nullptr || help == nullptr) {
    ThrowLastError("CreateMenu");
  }
  ::AppendMenuA(file, MF_STRING, Form1::kExitCommand, std::string(kExitItem).c_str());
  ::AppendMenuA(help, MF_STRING, Form1::kAboutCommand, std::string(kAboutItem).c_str());
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), std::string(kFileMenu).c_str());
  ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), std::string(kHelpMenu).c_str());
  return bar;
}

}  // namespace

Form1::Form1(WindowHost& app, PrinterList& printerList, Spooler& spooler, MessageDisplay& messages)
    : DesignedWindow(kForm1Layout, kFirstControlId, messages),
      app_(app),
      printerList_(printerList),
      spooler_(spooler) {
  Create({kClassName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, nullptr,
          MakeMenuBar()});
}

void Form1::OnControlsCreated() {
  logo_ = LoadPictureAtDpi(IDB_LOGO, Dpi());
  ::SendMessageA(Control("Image1"), STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(logo_.Get()));
  Form_Load();
}

void Form1::Form_Load() {
  RunHandler("Reading the installed printers", Messages(), [this] {
    Win32ComboBox combo(Control("Combo1"));
    GetPrinters(CurrentPrinters(), combo);
  });
}

// The current printer starts as the user's default; reading it is retried at the next use when
// the printer list could not be asked at start-up.
Printers& Form1::CurrentPrinters() {
  if (!printers_) {
    printers_.emplace(printerList_);
  }
  return *printers_;
}

// Runs one test print; clicks that arrive while it runs (a message box of the print pumps
// messages) are ignored.
void Form1::PrintWith(PageComposer composer) {
  if (busy_) {
    return;
  }
  busy_ = true;
  RunHandler("Printing the test page", Messages(), [this, composer] {
    Win32ComboBox combo(Control("Combo1"));
    PrintTestPage({CurrentPrinters(), combo, spooler_, Messages()}, composer);
  });
  busy_ = false;
}

void Form1::Exit_Click() {
  app_.Exit();
}

void Form1::About_Click() {
  RunHandler("Opening the About window", Messages(), [this] { app_.ShowAbout(); });
}

void Form1::Command1_Click() {
  PrintWith(ComposeDotMatrixPage);
}

void Form1::Command2_Click() {
  PrintWith(ComposePclPage);
}

void Form1::OnCommand(int id, int code) {
  if (id == kExitCommand) {
    Exit_Click();
  } else if (id == kAboutCommand) {
    About_Click();
  } else if (id == ControlId("Image1") && code == STN_CLICKED) {
    Image1_Click();
  } else if (id == ControlId("Command1") && code == BN_CLICKED) {
    Command1_Click();
  } else if (id == ControlId("Command2") && code == BN_CLICKED) {
    Command2_Click();
  }
}

void Form1::OnDestroyed() {
  app_.WindowClosed();
}

}  // namespace quorvel::win32
