#pragma once

#include "PortDirectory.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace kvr {

// Where the path behind a COM number comes from.
enum class PortSource { None, ThisRun, Pinned, Found };

// What stands behind one COM number.
struct PortEntry {
  QString path; // what is opened for COMn; empty when nothing maps to it
  PortSource source = PortSource::None;
  std::optional<PortInfo> port; // the port of the directory it reaches, when listed
  bool present = false;         // there is a port to open
};

// The programmer's ports keep their names COM1..COM16; each stands for a
// device path. An override lasts for one run (--port-map, --sim, a path given
// to kvr-cli); otherwise the settings entry [Ports] COMn=PATH pins the number;
// the ports the directory finds fill the remaining numbers from COM1 up, USB
// adapters first by their by-id names, then the others by path, so that an
// adapter plugged in again gets the same number.
class PortMap {
public:
  static constexpr int kFirstPort = 1;
  static constexpr int kLastPort = 16;

  // Without a directory, DefaultPortDirectory() is asked at each refresh.
  explicit PortMap(std::unique_ptr<PortDirectory> directory = nullptr);

  // Reads the pinned ports from the settings and asks the directory again.
  void refresh();
  void setOverride(int portNumber, const QString &path);
  // "COMn=PATH"; false when the text is not of that form or n is out of range.
  bool addOverride(const QString &mapping);

  QString pathFor(int portNumber) const;
  const PortEntry &entry(int portNumber) const;
  // The numbers with a port behind them, from COM1 up.
  QList<int> presentNumbers() const;
  // A port found by the directory keeps its number from now on: the settings
  // get [Ports] COMn = its by-id path, else its path. Pinned and overridden
  // numbers stay as they are.
  void pin(int portNumber);

private:
  void Renumber();

  std::unique_ptr<PortDirectory> directory_;
  QHash<int, QString> overrides_;
  QHash<int, QString> pinned_;
  QList<PortInfo> found_;
  std::array<PortEntry, kLastPort + 1> entries_{}; // by number; 0 stays empty
};

// Where a number's port comes from: "found", "pinned", "pinned as PATH" when
// the pinned path leads to a device of another name, "this run".
QString PortSourceText(const PortEntry &entry);
// The device file behind a number: the port found there, else the mapped path.
QString DeviceText(const PortEntry &entry);
// "FT232R USB UART (0403:6001)"; "(not connected)" for a pinned port that is not there.
QString DescriptionText(const PortEntry &entry);

// "COM3" -> 3; 0 when the text names no port of the range.
int ParsePortName(const QString &name);

// A device path as given on a command line: a path relative to the working
// folder is made absolute (QSerialPort would look for it under /dev); a bare
// name that is no file here, such as ttyUSB0, is left for QSerialPort.
QString DevicePath(const QString &given);

} // namespace kvr
