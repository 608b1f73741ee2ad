#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "gui/qt/about_window.h"
#include "gui/qt/form1.h"
#include "gui/qt/window_builder.h"
#include "gui_test_support.h"

namespace quorvel::testing {
namespace {

using Form1Test = GuiTest;

QWidget* Control(const qt::Form1& form, const char* name) {
  return form.centralWidget()->findChild<QWidget*>(QString::fromLatin1(name));
}

QComboBox* Combo1(const qt::Form1& form) {
  return form.findChild<QComboBox*>("Combo1");
}

TEST_F(Form1Test, CaptionClientAreaAndControlsAt96Dpi) {
  qt::Form1 form(services, 96);
  form.show();
  EXPECT_EQ(form.windowTitle(), "Form1");
  EXPECT_EQ(form.centralWidget()->size(), QSize(441, 291));
  struct Case {
    const char* name;
    QRect pixels;
  };
  const Case cases[] = {
      {"Image1", {7, 8, 426, 78}},      {"Line2", {8, 88, 424, 1}},
      {"Label1", {7, 96, 425, 17}},     {"Label2", {7, 120, 425, 73}},
      {"Line1", {8, 200, 424, 1}},      {"Combo1", {88, 216, 265, 24}},
      {"Command1", {128, 248, 81, 33}}, {"Command2", {232, 248, 81, 33}},
  };
  for (const Case& c : cases) {
    ASSERT_NE(Control(form, c.name), nullptr) << c.name;
    EXPECT_EQ(Control(form, c.name)->geometry(), c.pixels) << c.name;
  }
  // Resizing the window leaves every control where it is.
  form.resize(800, 600);
  EXPECT_EQ(Control(form, "Command2")->geometry(), QRect(232, 248, 81, 33));
}

// Lines and labels without a colour of their own follow the desktop's window-text colour; the
// About window's title and description stay black and its separator grey over white.
TEST_F(Form1Test, DefaultColoursFollowTheDesktopsWindowText) {
  const QPalette saved = QApplication::palette();
  QPalette desktop = saved;
  const QColor windowText(0, 0, 128);
  desktop.setColor(QPalette::WindowText, windowText);
  QApplication::setPalette(desktop);
  qt::Form1 form(services, 96);
  auto* about = new qt::AboutWindow(services, 96);
  struct Case {
    QWidget* window;
    const char* name;
    QColor color;
  };
  const Case cases[] = {
      {&form, "Line2", windowText},         {&form, "Label1", windowText},
      {&form, "Label2", windowText},        {&form, "Line1", windowText},
      {about, "Line1(1)", {128, 128, 128}}, {about, "Line1(0)", Qt::white},
      {about, "lblDescription", Qt::black}, {about, "lblTitle", Qt::black},
      {about, "lblVersion", windowText},
  };
  for (const Case& c : cases) {
    QWidget* control = c.window->findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(control, nullptr) << c.name;
    if (auto* line = dynamic_cast<qt::LineWidget*>(control)) {
      EXPECT_EQ(line->Color(), c.color) << c.name;
    } else {
      EXPECT_EQ(control->palette().color(QPalette::WindowText), c.color) << c.name;
    }
  }
  delete about;
  QApplication::setPalette(saved);
}

TEST_F(Form1Test, ClientAreaFollowsTheLogicalDpi) {
  qt::Form1 form(services, 144);
  form.show();
  EXPECT_EQ(form.centralWidget()->size(), QSize(662, 437));
  EXPECT_EQ(Control(form, "Combo1")->geometry(), QRect(132, 324, 398, 36));
}

TEST_F(Form1Test, TextsFontsAndMenus) {
  qt::Form1 form(services, 96);
  EXPECT_EQ(form.findChild<QLabel*>("Label1")->text(), "OCR-B test for printers. ");
  EXPECT_EQ(form.findChild<QLabel*>("Label2")->text(),
            "This tool try to print Barcode font with printer integradet font! It shows you the "
            "ESC-Sequence, wich was used to generate the testprint.");
  EXPECT_EQ(form.findChild<QPushButton*>("Command1")->text(), "EpsonFX /  IBM Proprinter");
  EXPECT_EQ(form.findChild<QPushButton*>("Command2")->text(), "PCL");
  EXPECT_DOUBLE_EQ(form.findChild<QLabel*>("Label1")->font().pointSizeF(), 9.75);
  EXPECT_DOUBLE_EQ(Combo1(form)->font().pointSizeF(), 9.75);
  EXPECT_EQ(form.centralWidget()->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(form.findChild<QLabel*>("Label2")->palette().color(QPalette::Window),
            QColor(Qt::white));
  QStringList menus;
  for (QAction* menu : form.menuBar()->actions()) {
    menus << menu->text();
    for (QAction* item : menu->menu()->actions()) {
      menus << item->text();
    }
  }
  EXPECT_EQ(menus, (QStringList{"File", "Exit", "Help", "About"}));
  // The long caption wraps inside its button; drawing keeps the caption itself unchanged.
  EXPECT_FALSE(form.grab().isNull());
  EXPECT_EQ(form.findChild<QPushButton*>("Command1")->text(), "EpsonFX /  IBM Proprinter");
}

TEST_F(Form1Test, SharedArtwork) {
  qt::Form1 form(services, 96);
  EXPECT_FALSE(form.windowIcon().isNull());
  EXPECT_EQ(form.windowIcon().availableSizes(), (QList<QSize>{QSize(32, 32)}));
  EXPECT_EQ(form.findChild<QLabel*>("Image1")->pixmap().size(), QSize(426, 78));
  form.About_Click();
  ASSERT_NE(form.About(), nullptr);
  EXPECT_EQ(form.About()->findChild<QLabel*>("picIcon")->pixmap().size(), QSize(32, 32));
}

TEST_F(Form1Test, FocusStartsInCombo1AndTabsToTheButtons) {
  qt::Form1 form(services, 96);
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form, 5000));
  QStringList order;
  for (int i = 0; i < 3; ++i) {
    QWidget* focus = QApplication::focusWidget();
    while (focus != nullptr && focus->objectName().isEmpty()) {
      focus = focus->parentWidget();  // the combo box's own line edit
    }
    order << (focus != nullptr ? focus->objectName() : QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  EXPECT_EQ(order, (QStringList{"Combo1", "Command1", "Command2"}));
}

TEST_F(Form1Test, Combo1ListsThePrintersAndShowsTheDefault) {
  struct Case {
    std::vector<std::string> names;
    std::optional<std::string> defaultName;
    int currentIndex;
    QString text;
  };
  const Case cases[] = {
      {{"Office Laser", "Virtual", "Label Printer"}, "Virtual", 1, "Virtual"},
      {{"Office Laser", "Virtual", "Label Printer"}, std::nullopt, -1, "Combo1"},
      {{"Office Laser", "Virtual"}, "virtual", -1, "Combo1"},  // case counts
      {{}, std::nullopt, -1, "Combo1"},
      {{"A", "A"}, "A", 0, "A"},
  };
  for (const Case& c : cases) {
    printers.names = c.names;
    printers.defaultName = c.defaultName;
    qt::Form1 form(services, 96);
    QComboBox* combo = Combo1(form);
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
      entries << combo->itemText(i);
    }
    QStringList expected;
    for (const std::string& name : c.names) {
      expected << QString::fromStdString(name);
    }
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(combo->currentIndex(), c.currentIndex);
    EXPECT_EQ(combo->currentText(), c.text);
  }
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace quorvel::testing
