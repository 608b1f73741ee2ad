#include "platform/qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

namespace quorvel::platform {

void QtMessageBox::Show(std::string_view text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppTitle.data(), kAppTitle.size()),
                  QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

}  // namespace quorvel::platform
