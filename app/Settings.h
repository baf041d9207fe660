#pragma once

#include <QString>

namespace kvr {

// The per-user settings of "KVR 1.04" (INI). Section names are compared
// without regard to letter case: "Startup" is read, "StartUp" written, and
// both are the same section.
class Settings {
public:
  static void UseApplicationStore(); // INI format, application "KVR 1.04"

  static QString Value(const QString &section, const QString &key);
  static void SetValue(const QString &section, const QString &key, const QString &value);
};

} // namespace kvr
