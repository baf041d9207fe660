#pragma once

#include <QHash>
#include <QString>

namespace kvr {

// The programmer's ports keep their names COM1..COM16; each stands for a
// device path. Settings section "Ports", key "COMn" names it; otherwise COMn
// is /dev/ttyS<n-1> (on Windows, COMn itself). Overrides last for one run
// (--port-map, --sim).
class PortMap {
public:
  static constexpr int kFirstPort = 1;
  static constexpr int kLastPort = 16;

  // Reads section "Ports" of the program's settings.
  void loadSettings();
  void setOverride(int portNumber, const QString &path) { overrides_.insert(portNumber, path); }
  // "COMn=PATH"; false when the text is not of that form or n is out of range.
  bool addOverride(const QString &mapping);

  QString pathFor(int portNumber) const;

private:
  QHash<int, QString> configured_;
  QHash<int, QString> overrides_;
};

// "COM3" -> 3; 0 when the text names no port of the range.
int ParsePortName(const QString &name);

} // namespace kvr
