#include "Settings.h"

#include "Ui.h"

#include <QCoreApplication>
#include <QSettings>

namespace kvr {

namespace {
// The section as it is stored, whatever its letter case; the given name when absent.
QString StoredSection(QSettings &settings, const QString &section) {
  for (const QString &group : settings.childGroups())
    if (group.compare(section, Qt::CaseInsensitive) == 0)
      return group;
  return section;
}
} // namespace

void Settings::UseApplicationStore() {
  QCoreApplication::setOrganizationName(QStringLiteral("Torvane"));
  QCoreApplication::setApplicationName(kAppTitle);
  QSettings::setDefaultFormat(QSettings::IniFormat);
}

QString Settings::Value(const QString &section, const QString &key) {
  QSettings settings;
  settings.beginGroup(StoredSection(settings, section));
  return settings.value(key).toString();
}

void Settings::SetValue(const QString &section, const QString &key, const QString &value) {
  QSettings settings;
  settings.beginGroup(StoredSection(settings, section));
  settings.setValue(key, value);
}

} // namespace kvr
