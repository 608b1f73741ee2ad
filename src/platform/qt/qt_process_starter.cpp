#include "platform/qt/qt_process_starter.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "common/platform_error.h"

namespace quorvel::platform {

void QtProcessStarter::Start(const std::string& programPath, const std::string& arguments) {
  const std::string operation = "Starting " + programPath;
  if (programPath.empty()) {
    throw PlatformError(operation, "no program was named");
  }
  QString program = QString::fromStdString(programPath);
  if (!program.contains(QLatin1Char('/'))) {
    // A bare name would be looked up on PATH; the path given is meant exactly as written.
    program.prepend(QStringLiteral("./"));
  }
  QProcess process;
  process.setProgram(program);
  process.setArguments(QProcess::splitCommand(QString::fromStdString(arguments)));
  if (!process.startDetached()) {
    throw PlatformError(operation, process.errorString().toStdString());
  }
}

}  // namespace quorvel::platform
