#include "PortMap.h"

#include <QRegularExpression>
#include <QSettings>

namespace kvr {

int ParsePortName(const QString &name) {
  static const QRegularExpression pattern(QStringLiteral("^COM(\\d{1,2})$"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = pattern.match(name.trimmed());
  if (!match.hasMatch())
    return 0;
  const int n = match.captured(1).toInt();
  return n >= PortMap::kFirstPort && n <= PortMap::kLastPort ? n : 0;
}

void PortMap::loadSettings() {
  QSettings settings;
  configured_.clear();
  for (const QString &group : settings.childGroups()) {
    if (group.compare(QLatin1String("Ports"), Qt::CaseInsensitive) != 0)
      continue;
    settings.beginGroup(group);
    for (const QString &key : settings.childKeys()) {
      const int n = ParsePortName(key);
      const QString path = settings.value(key).toString().trimmed();
      if (n && !path.isEmpty())
        configured_.insert(n, path);
    }
    settings.endGroup();
  }
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

QString PortMap::pathFor(int portNumber) const {
  if (overrides_.contains(portNumber))
    return overrides_.value(portNumber);
  if (configured_.contains(portNumber))
    return configured_.value(portNumber);
#ifdef Q_OS_WIN
  return QStringLiteral("COM%1").arg(portNumber);
#else
  return QStringLiteral("/dev/ttyS%1").arg(portNumber - 1);
#endif
}

} // namespace kvr
