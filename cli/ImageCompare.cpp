#include "ImageCompare.h"

#include "ImageBuffer.h"

namespace kvr::cli {

ImageDifference CompareWithChip(const ImageBuffer &image, const QByteArray &chip) {
  ImageDifference difference;
  const int end = image.rowCount() * ImageBuffer::kBytesPerRow;
  for (int address = 0; address < end; ++address) {
    if (!image.hasValue(address))
      continue;
    ++difference.compared;
    if (address < chip.size() && static_cast<unsigned char>(chip[address]) == image.byte(address))
      continue;
    if (difference.count++ == 0)
      difference.firstAddress = address;
  }
  return difference;
}

void LoadBytes(ImageBuffer &buffer, const QByteArray &bytes) {
  const int size = static_cast<int>(bytes.size());
  buffer.clear();
  buffer.setRowCount((size + ImageBuffer::kBytesPerRow - 1) / ImageBuffer::kBytesPerRow);
  for (int address = 0; address < buffer.rowCount() * ImageBuffer::kBytesPerRow; ++address) {
    if (address < size)
      buffer.setByte(address, static_cast<unsigned char>(bytes[address]));
    else
      buffer.setNoData(address);
  }
  buffer.FileEnd = size + 1;
  buffer.CurrentFilePath.clear();
}

void CopyImage(const ImageBuffer &from, ImageBuffer &to) {
  to.clear();
  to.setRowCount(from.rowCount());
  for (int address = 0; address < from.rowCount() * ImageBuffer::kBytesPerRow; ++address) {
    if (from.hasValue(address))
      to.setByte(address, from.byte(address));
    else if (from.isNoData(address))
      to.setNoData(address);
  }
  to.FileEnd = from.FileEnd;
}

} // namespace kvr::cli
