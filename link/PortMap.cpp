#include "PortMap.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

#include <algorithm>

namespace kvr {

namespace {
const QString kPortsSection = QStringLiteral("Ports");

QString PortKey(int n) { return QStringLiteral("COM%1").arg(n); }

// The settings section of the ports as it is stored, whatever its letter case.
QString StoredPortsSection(QSettings &settings) {
  for (const QString &group : settings.childGroups())
    if (group.compare(kPortsSection, Qt::CaseInsensitive) == 0)
      return group;
  return kPortsSection;
}

// ttyS2 before ttyS10: the trailing number compares as a number.
bool NaturalLess(const QString &a, const QString &b) {
  static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d*)$"));
  const QRegularExpressionMatch ma = trailingNumber.match(a);
  const QRegularExpressionMatch mb = trailingNumber.match(b);
  if (ma.captured(1) != mb.captured(1))
    return ma.captured(1) < mb.captured(1);
  return ma.captured(2).toULongLong() < mb.captured(2).toULongLong();
}

// USB adapters first, by their stable by-id names; then the other ports.
bool NumberedBefore(const PortInfo &a, const PortInfo &b) {
  if (a.isUsb() != b.isUsb())
    return a.isUsb();
  const QString nameA = a.byIdPath.isEmpty() ? a.path : QFileInfo(a.byIdPath).fileName();
  const QString nameB = b.byIdPath.isEmpty() ? b.path : QFileInfo(b.byIdPath).fileName();
  return NaturalLess(nameA, nameB);
}

QString DeviceOf(const QString &path) { return QFileInfo(path).canonicalFilePath(); }
} // namespace

QString DeviceText(const PortEntry &entry) { return entry.port ? entry.port->path : entry.path; }

QString DescriptionText(const PortEntry &entry) {
  if (entry.port)
    return entry.port->descriptionText();
  return entry.source == PortSource::Pinned && !entry.present ? QStringLiteral("(not connected)")
                                                              : QString();
}

QString PortSourceText(const PortEntry &entry) {
  switch (entry.source) {
  case PortSource::Found: return QStringLiteral("found");
  case PortSource::ThisRun: return QStringLiteral("this run");
  case PortSource::Pinned:
    return entry.path == DeviceText(entry) ? QStringLiteral("pinned")
                                           : QStringLiteral("pinned as ") + entry.path;
  case PortSource::None: break;
  }
  return QString();
}

int ParsePortName(const QString &name) {
  static const QRegularExpression pattern(QStringLiteral("^COM(\\d{1,2})$"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(name.trimmed());
  if (!match.hasMatch())
    return 0;
  const int n = match.captured(1).toInt();
  return n >= PortMap::kFirstPort && n <= PortMap::kLastPort ? n : 0;
}

QString DevicePath(const QString &given) {
  const QFileInfo file(given);
  if (file.isRelative() && (given.contains(QLatin1Char('/')) || file.exists()))
    return file.absoluteFilePath();
  return given;
}

PortMap::PortMap(std::unique_ptr<PortDirectory> directory) : directory_(std::move(directory)) {}

void PortMap::refresh() {
  QSettings settings;
  settings.beginGroup(StoredPortsSection(settings));
  pinned_.clear();
  for (const QString &key : settings.childKeys()) {
    const int n = ParsePortName(key);
    const QString path = settings.value(key).toString().trimmed();
    if (n && !path.isEmpty())
      pinned_.insert(n, path);
  }
  found_ = directory_ ? directory_->ports() : DefaultPortDirectory()->ports();
  std::stable_sort(found_.begin(), found_.end(), NumberedBefore);
  Renumber();
}

void PortMap::setOverride(int portNumber, const QString &path) {
  overrides_.insert(portNumber, DevicePath(path));
  Renumber();
}

bool PortMap::addOverride(const QString &mapping) {
  const qsizetype eq = mapping.indexOf(QLatin1Char('='));
  if (eq < 0)
    return false;
  const int n = ParsePortName(mapping.left(eq));
  const QString path = mapping.mid(eq + 1).trimmed();
  if (!n || path.isEmpty())
    return false;
  setOverride(n, path);
  return true;
}

void PortMap::Renumber() {
  QList<bool> taken(found_.size(), false);
  // The found port a given path names or leads to, if any.
  const auto reach = [&](const QString &path) -> std::optional<PortInfo> {
    const QString device = DeviceOf(path);
    for (int i = 0; i < found_.size(); ++i) {
      const PortInfo &port = found_[i];
      if (path == port.path || path == port.byIdPath ||
          (!device.isEmpty() && DeviceOf(port.path) == device)) {
        taken[i] = true;
        return port;
      }
    }
    return std::nullopt;
  };

  for (int n = kFirstPort; n <= kLastPort; ++n) {
    PortEntry &e = entries_[n];
    e = PortEntry{};
    if (overrides_.contains(n)) {
      e.path = overrides_.value(n);
      e.source = PortSource::ThisRun;
      e.present = true; // named for this run: tried whatever the directory says
    } else if (pinned_.contains(n)) {
      e.path = pinned_.value(n);
      e.source = PortSource::Pinned;
      e.present = QFileInfo::exists(e.path);
    }
    if (!e.path.isEmpty())
      e.port = reach(e.path);
    e.present = e.present || e.port.has_value();
  }

#ifdef Q_OS_WIN
  // QSerialPort takes "COMn" as it is: each number is its own port.
  for (int n = kFirstPort; n <= kLastPort; ++n) {
    PortEntry &e = entries_[n];
    if (e.source != PortSource::None)
      continue;
    e.path = PortKey(n);
    for (const PortInfo &port : found_)
      if (port.path.compare(e.path, Qt::CaseInsensitive) == 0) {
        e.source = PortSource::Found;
        e.port = port;
        e.present = true;
      }
  }
#else
  int n = kFirstPort;
  for (int i = 0; i < found_.size(); ++i) {
    if (taken[i])
      continue;
    while (n <= kLastPort && entries_[n].source != PortSource::None)
      ++n;
    if (n > kLastPort)
      break;
    entries_[n] = PortEntry{found_[i].path, PortSource::Found, found_[i], true};
  }
#endif
}

QString PortMap::pathFor(int portNumber) const { return entry(portNumber).path; }

const PortEntry &PortMap::entry(int portNumber) const {
  static const PortEntry none;
  return portNumber >= kFirstPort && portNumber <= kLastPort ? entries_[portNumber] : none;
}

QList<int> PortMap::presentNumbers() const {
  QList<int> numbers;
  for (int n = kFirstPort; n <= kLastPort; ++n)
    if (entries_[n].present)
      numbers.append(n);
  return numbers;
}

void PortMap::pin(int portNumber) {
  const PortEntry &e = entry(portNumber);
  if (e.source != PortSource::Found || !e.port)
    return;
  const QString path = e.port->byIdPath.isEmpty() ? e.port->path : e.port->byIdPath;
  QSettings settings;
  settings.setValue(StoredPortsSection(settings) + QLatin1Char('/') + PortKey(portNumber), path);
  pinned_.insert(portNumber, path);
  Renumber();
}

} // namespace kvr
