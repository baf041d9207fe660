#include "Globals.h"

#include "Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kvr::BaseModule {

QString ApplicationFolder() {
  const QString home = qEnvironmentVariable("KVR_HOME");
  if (!home.isEmpty())
    return home;
  // Beside the programs in a build; prefix/share/kvr when installed.
  const QString programs = QCoreApplication::applicationDirPath();
  const QString installed = QDir(programs).absoluteFilePath(QStringLiteral("../share/kvr"));
  const QString catalogue = QStringLiteral("/Data/KVR104.sqlite");
  if (!QFileInfo::exists(programs + catalogue) && QFileInfo::exists(installed + catalogue))
    return QDir::cleanPath(installed);
  return programs;
}

void InitGlobals(Session &session, const QString &applicationFolder) {
  session.PortNumber = 2;
  session.PortIsOpen = false;
  session.ProgrammerPresent = false;
  session.SignatureVerified = false;
  session.LoadedFileDate = QDateTime();
  session.LockBitSelection.fill(QStringLiteral("0"));
  session.LastReply.clear();
  session.ReplyEndedWithEtx = false;
  session.ReplyEndedWithEtb = false;
  session.clearStop();
  session.DatabasePath = applicationFolder + QStringLiteral("/Data/KVR104.sqlite");
  session.TempImagePath = applicationFolder + QStringLiteral("/Data/$KVR104Temp.Bin");
}

QString TemporaryImageTemplate(const Session &session) {
  return QFileInfo(session.TempImagePath).dir().filePath(QStringLiteral("$KVR104Temp-XXXXXX.Bin"));
}

bool IsTemporaryImage(const Session &session, const QString &path) {
  const QFileInfo file(path);
  const QFileInfo temporary(session.TempImagePath);
  return file.absolutePath() == temporary.absolutePath() &&
         file.fileName().startsWith(QStringLiteral("$KVR104Temp"));
}

} // namespace kvr::BaseModule
