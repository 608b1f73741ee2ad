#include "gui/qt/artwork.h"

#include <QString>

namespace quorvel::qt {

QIcon WindowIcon() {
  return QIcon(QStringLiteral(":/quorvel/quorvel.ico"));
}

QPixmap Logo() {
  return QPixmap(QStringLiteral(":/quorvel/logo.bmp"));
}

QPixmap AboutIcon() {
  return QPixmap(QStringLiteral(":/quorvel/about.ico"));
}

}  // namespace quorvel::qt
