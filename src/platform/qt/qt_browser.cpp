#include "platform/qt/qt_browser.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "common/platform_error.h"

namespace quorvel::platform {

void QtBrowser::Navigate(const std::string& address) {
  const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
  if (!url.isValid()) {
    throw PlatformError("Opening " + address, url.errorString().toStdString());
  }
  if (!QDesktopServices::openUrl(url)) {
    throw PlatformError("Opening " + address,
                        "the desktop has no browser set up to open web addresses");
  }
}

}  // namespace quorvel::platform
