#include "gui/qt/busy_scope.h"

#include <QApplication>
#include <QCursor>

namespace quorvel::qt {

BusyScope::BusyScope(bool& busy) : busy_(busy) {
  busy_ = true;
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyScope::~BusyScope() {
  Release();
  busy_ = false;
}

void BusyScope::Release() {
  if (cursorShown_) {
    cursorShown_ = false;
    QApplication::restoreOverrideCursor();
  }
}

void ReleasingMessageDisplay::Show(std::string_view text) {
  scope_.Release();
  messages_.Show(text);
}

}  // namespace quorvel::qt
