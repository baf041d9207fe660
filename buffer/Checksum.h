#pragma once

#include <QByteArray>
#include <QString>

namespace kvr {

// The checksums device programmers show for an image, over the bytes a save
// writes: the 16-bit sum of the bytes and the CRC-32 of zlib (the one crc32
// and rhash compute for the saved file).
struct ImageChecksum {
  quint16 sum = 0;
  quint32 crc32 = 0;
};

ImageChecksum ChecksumOf(const QByteArray &bytes);

// "Checksum 1A2Bh, CRC-32 89ABCDEFh"
QString ChecksumText(const ImageChecksum &checksum);

} // namespace kvr
