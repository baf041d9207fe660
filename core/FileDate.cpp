#include "FileDate.h"

#include "Session.h"

#include <QDateTime>
#include <QFileInfo>

namespace kvr::BaseModule {

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
