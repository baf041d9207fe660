#include "Hex.h"

namespace kvr::BaseModule {

namespace {
int DigitValue(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9')
    return u - '0';
  if (u >= 'A' && u <= 'F')
    return u - 'A' + 10;
  return 0;
}

int HexDigitOrMinus(QChar c) {
  const ushort u = c.unicode();
  if (u >= '0' && u <= '9')
    return u - '0';
  if (u >= 'A' && u <= 'F')
    return u - 'A' + 10;
  if (u >= 'a' && u <= 'f')
    return u - 'a' + 10;
  return -1;
}
} // namespace

QByteArray HexToBytes(const QString &hex) {
  QByteArray bytes;
  bytes.reserve((hex.size() + 1) / 2);
  for (qsizetype i = 0; i < hex.size(); i += 2) {
    const int high = DigitValue(hex[i]);
    const int low = i + 1 < hex.size() ? DigitValue(hex[i + 1]) : 0;
    bytes.append(static_cast<char>(16 * high + low));
  }
  return bytes;
}

bool IsHexByte(const QString &text) {
  return text.size() == 2 && HexDigitOrMinus(text[0]) >= 0 && HexDigitOrMinus(text[1]) >= 0;
}

QString HexToBinary(const QString &hex) {
  QString bits;
  for (int i = 0; i < 2; ++i) {
    const int digit = i < hex.size() ? DigitValue(hex[i]) : 0;
    for (int bit = 3; bit >= 0; --bit)
      bits.append((digit >> bit) & 1 ? QLatin1Char('1') : QLatin1Char('0'));
  }
  return bits;
}

} // namespace kvr::BaseModule
