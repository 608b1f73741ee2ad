#pragma once

#include <optional>

#include "app/printers.h"
#include "gui/win32/designed_window.h"
#include "gui/win32/window_host.h"
#include "pages/page_text.h"
#include "printing/spooler.h"

namespace quorvel::win32 {

/// The main window: logo, two texts, the printer list and the two test buttons; "File" > "Exit"
/// and "Help" > "About".
class Form1 : public DesignedWindow {
 public:
  static constexpr int kExitCommand = 1000;
  static constexpr int kAboutCommand = 1001;
  static constexpr const char* kClassName = "QuorvelForm1";

  Form1(WindowHost& app, PrinterList& printerList, Spooler& spooler, MessageDisplay& messages);

 private:
  void OnControlsCreated() override;
  void OnCommand(int id, int code) override;
  void OnDestroyed() override;

  void Form_Load();
  void Exit_Click();
  void About_Click();
  void Image1_Click() { About_Click(); }
  void Command1_Click();
  void Command2_Click();
  void PrintWith(PageComposer composer);
  Printers& CurrentPrinters();

  WindowHost& app_;
  PrinterList& printerList_;
  std::optional<Printers> printers_;
  Spooler& spooler_;
  UniqueGdiObject logo_;
  bool busy_ = false;
};

}  // namespace quorvel::win32
