#include "SerialPort.h"

#include <QStringList>

namespace kvr {

bool ParseLineSettings(const QString &text, LineSettings &out) {
  const QStringList parts = text.split(QLatin1Char(','));
  if (parts.size() != 4)
    return false;
  bool ok[3] = {};
  LineSettings s;
  s.baud = parts[0].trimmed().toInt(&ok[0]);
  const QString parity = parts[1].trimmed().toUpper();
  s.dataBits = parts[2].trimmed().toInt(&ok[1]);
  s.stopBits = parts[3].trimmed().toInt(&ok[2]);
  if (!ok[0] || !ok[1] || !ok[2] || parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity))
    return false;
  if (s.baud <= 0 || s.dataBits < 5 || s.dataBits > 8 || s.stopBits < 1 || s.stopBits > 2)
    return false;
  s.parity = parity[0].toLatin1();
  out = s;
  return true;
}

} // namespace kvr
