#include "platform/qt/qt_file_lookup.h"

#include <QFileInfo>
#include <QString>

namespace quorvel::platform {

bool QtFileLookup::HasNormalFile(const std::string& path) {
  if (path.empty()) {
    return false;
  }
  const QFileInfo info(QString::fromStdString(path));
  return info.isFile() && !info.fileName().startsWith(QLatin1Char('.'));
}

}  // namespace quorvel::platform
