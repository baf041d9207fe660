#include "ProgramFolder.h"

#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <stdexcept>

namespace kvr::test {

ProgramFolder::ProgramFolder() {
  if (!dir_.isValid() || !QDir().mkpath(dir_.filePath("Data")) ||
      !QFile::copy(QStringLiteral(KVR_SHIPPED_CATALOGUE), catalogue()))
    throw std::runtime_error("cannot lay out a program folder");
  QFile::setPermissions(catalogue(), QFile::ReadOwner | QFile::WriteOwner);
  qputenv("KVR_HOME", dir_.path().toLocal8Bit());
  Settings::UseApplicationStore();
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.filePath("settings"));
}

ProgramFolder::~ProgramFolder() { qunsetenv("KVR_HOME"); }

void ProgramFolder::removeCatalogue() { QFile::remove(catalogue()); }

} // namespace kvr::test
