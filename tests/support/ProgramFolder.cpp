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

QProcessEnvironment ProgramFolder::environment() const {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("KVR_HOME"), path());
  // The settings file the test process writes.
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("settings")));
  env.insert(QStringLiteral("XDG_DATA_HOME"), userFolder());
  return env;
}

void ProgramFolder::removeCatalogue() { QFile::remove(catalogue()); }

} // namespace kvr::test
