#include "SimulatorProcess.h"

#include <QCoreApplication>
#include <QDir>

#ifdef Q_OS_LINUX
#include <sys/prctl.h>

#include <csignal>
#endif

namespace kvr {

SimulatorProcess::~SimulatorProcess() {
  if (process_.state() == QProcess::NotRunning)
    return;
  process_.terminate();
  if (!process_.waitForFinished(3000))
    process_.kill();
}

QString SimulatorProcess::Start(const QString &chip) {
  const QString program =
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("kvr-sim"));
  process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
#ifdef Q_OS_LINUX
  // A program that is killed, not closed, must not leave its simulator
  // running: kvr-sim ends cleanly on SIGTERM.
  process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
#endif
  process_.start(program, {QStringLiteral("--chip"), chip});
  if (!process_.waitForStarted(5000)) {
    error_ = process_.errorString();
    return QString();
  }
  // The simulator's first line is the path of its port.
  while (!process_.canReadLine()) {
    if (!process_.waitForReadyRead(5000)) {
      error_ = QStringLiteral("kvr-sim did not name its port.");
      return QString();
    }
  }
  return QString::fromLocal8Bit(process_.readLine()).trimmed();
}

} // namespace kvr
