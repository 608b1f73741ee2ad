#pragma once

#include <optional>

#include <QComboBox>
#include <QMainWindow>
#include <QPointer>

#include "app/printers.h"
#include "gui/qt/about_window.h"
#include "gui/qt/desktop_services.h"
#include "gui/qt/qt_combo_box.h"
#include "pages/page_text.h"

namespace quorvel::qt {

/// Form1, the main window: the logo, two texts, the printer list Combo1 and the two test buttons,
/// with "File" > "Exit" and "Help" > "About".
class Form1 : public QMainWindow {
 public:
  Form1(DesktopServices& services, int dpi);
  ~Form1() override;

  /// Shows the window centred on its screen.
  void ShowCentred();

  void Form_Load();
  void Exit_Click();
  void About_Click();
  void Image1_Click() { About_Click(); }
  void Command1_Click();
  void Command2_Click();

  /// The open About window, if any.
  AboutWindow* About() const { return about_.data(); }

 private:
  void BuildMenus();
  void SendTestPage(std::string_view action, PageComposer composer);
  Printers& CurrentPrinters();

  DesktopServices& services_;
  int dpi_;
  QComboBox* combo1_ = nullptr;
  std::optional<QtComboBox> combo_;
  std::optional<Printers> printers_;
  QPointer<AboutWindow> about_;
  bool busy_ = false;
};

}  // namespace quorvel::qt
