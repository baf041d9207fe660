#include "Checksum.h"

#include <zlib.h>

namespace kvr {

ImageChecksum ChecksumOf(const QByteArray &bytes) {
  ImageChecksum checksum;
  quint32 sum = 0;
  for (const char byte : bytes)
    sum += static_cast<unsigned char>(byte);
  checksum.sum = static_cast<quint16>(sum);
  checksum.crc32 = static_cast<quint32>(crc32_z(crc32_z(0, nullptr, 0),
                                                reinterpret_cast<const Bytef *>(bytes.constData()),
                                                static_cast<z_size_t>(bytes.size())));
  return checksum;
}

namespace {
QString Hex(quint32 value, int digits) {
  return QString::number(value, 16).toUpper().rightJustified(digits, QLatin1Char('0'));
}
} // namespace

QString ChecksumText(const ImageChecksum &checksum) {
  return QStringLiteral("Checksum %1h, CRC-32 %2h")
      .arg(Hex(checksum.sum, 4), Hex(checksum.crc32, 8));
}

} // namespace kvr
