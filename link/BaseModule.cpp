#include "BaseModule.h"

#include "Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kvr::BaseModule {

bool IsFamilyCode(const QString &code) {
  return std::find(FamilyCodes.begin(), FamilyCodes.end(), code) != FamilyCodes.end();
}

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

namespace {
int DigitValue(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9')
    return u - '0';
  if (u >= 'A' && u <= 'F')
    return u - 'A' + 10;
  return 0;
}

int HexDigitOrMinus(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9')
    return u - '0';
  if (u >= 'A' && u <= 'F')
    return u - 'A' + 10;
  if (u >= 'a' && u <= 'f')
    return u - 'a' + 10;
  return -1;
}
} // namespace

QByteArray HexToBytes(const QString &hex) {
  QByteArray bytes;
  bytes.reserve((hex.size() + 1) / 2);
  for (qsizetype i = 0; i < hex.size(); i += 2) {
    const int high = DigitValue(hex[i]);
    const int low = i + 1 < hex.size() ? DigitValue(hex[i + 1]) : 0;
    bytes.append(static_cast<char>(16 * high + low));
  }
  return bytes;
}

std::int32_t convertToDecimal(const QString &hex) {
  std::int64_t value = 0;
  for (const QChar c : hex) {
    const int digit = HexDigitOrMinus(c);
    if (digit < 0)
      break;
    value = value * 16 + digit;
    if (value > INT32_MAX)
      return INT32_MAX;
  }
  return static_cast<std::int32_t>(value);
}

QString HexToBinary(const QString &hex) {
  QString bits;
  for (int i = 0; i < 2; ++i) {
    const int digit = i < hex.size() ? DigitValue(hex[i]) : 0;
    for (int bit = 3; bit >= 0; --bit)
      bits.append((digit >> bit) & 1 ? QLatin1Char('1') : QLatin1Char('0'));
  }
  return bits;
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

namespace {
QDateTime LastModified(const QString &path) {
  const QFileInfo info(path);
  return info.exists() ? info.lastModified() : QDateTime();
}
} // namespace

void RememberFileDate(Session &session, const QString &path) {
  const QDateTime time = LastModified(path);
  if (time.isValid())
    session.LoadedFileDate = time;
}

bool FileChangedOnDisk(const Session &session, const QString &path) {
  const QDateTime time = LastModified(path);
  if (!time.isValid() || !session.LoadedFileDate.isValid())
    return true;
  return time.toSecsSinceEpoch() != session.LoadedFileDate.toSecsSinceEpoch();
}

} // namespace kvr::BaseModule
