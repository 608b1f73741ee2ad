#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "common/platform_error.h"
#include "gui_test_support.h"
#include "platform/qt/qt_file_lookup.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_process_starter.h"
#include "platform/qt/sys_info_tools.h"

namespace quorvel::testing {
namespace {

void WriteFile(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("x");
}

TEST(QtFileLookup, OnlyVisibleRegularFilesCount) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  WriteFile(dir.filePath("tool"));
  WriteFile(dir.filePath(".hidden-tool"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
  ASSERT_TRUE(QFile::link(dir.filePath("tool"), dir.filePath("link")));
  ASSERT_TRUE(QFile::link(dir.filePath("missing"), dir.filePath("dangling")));
  struct Case {
    QString name;
    bool found;
  };
  const Case cases[] = {{"tool", true},    {"link", true},     {".hidden-tool", false},
                        {"folder", false}, {"missing", false}, {"dangling", false}};
  platform::QtFileLookup lookup;
  for (const Case& c : cases) {
    EXPECT_EQ(lookup.HasNormalFile(dir.filePath(c.name).toStdString()), c.found)
        << c.name.toStdString();
  }
  EXPECT_FALSE(lookup.HasNormalFile(""));
}

TEST(QtProcessStarter, StartsTheProgramWithItsArgumentsWithoutWaiting) {
  TestApplication();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString marker = dir.filePath("started by sh");
  platform::QtProcessStarter starter;
  // The arguments text is split like a command line: double quotes group, single quotes are
  // left for the shell.
  starter.Start("/bin/sh", "-c \"echo hello > '" + marker.toStdString() + "'\"");
  // The start returns at once; the program writes its marker shortly after (bounded wait).
  EXPECT_TRUE(QTest::qWaitFor([&] { return QFile(marker).size() > 0; }, 10000));
  QFile file(marker);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "hello\n");
}

TEST(QtProcessStarter, AProgramThatCannotStartThrows) {
  TestApplication();
  platform::QtProcessStarter starter;
  for (const std::string path : {"/nonexistent/quorvel-tool", "", "quorvel-no-such-tool"}) {
    EXPECT_THROW(starter.Start(path, ""), PlatformError) << path;
  }
}

TEST(QtMessageBox, OkOnlyNoIconTitledQuorvel) {
  TestApplication();
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::Warning;
  QMessageBox::StandardButtons buttons;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    buttons = box->standardButtons();
    box->accept();
  });
  platform::QtMessageBox messages;
  messages.Show("Executed");
  EXPECT_EQ(title, "Quorvel");
  EXPECT_EQ(text, "Executed");
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(buttons, QMessageBox::Ok);
}

TEST(LinuxSysInfoTools, AbsolutePathsOfDesktopTools) {
  const std::vector<SysInfoTool> tools = platform::LinuxSysInfoTools();
  ASSERT_EQ(tools.size(), 3u);
  EXPECT_EQ(tools[0].program, "/usr/bin/hardinfo");
  EXPECT_EQ(tools[1].program, "/usr/bin/kinfocenter");
  EXPECT_EQ(tools[2].program, "/usr/bin/gnome-control-center");
  EXPECT_EQ(tools[2].arguments, "info-overview");
}

}  // namespace
}  // namespace quorvel::testing
