#pragma once

#include <QByteArray>

namespace kvr {
class ImageBuffer;
}

namespace kvr::cli {

struct ImageDifference {
  int compared = 0; // positions of the image that hold data
  int count = 0;
  int firstAddress = -1; // -1 when there is none
};

// The image's bytes against the chip's, from address 0. Positions without
// data ("XX") are not compared; positions past the chip's end differ.
ImageDifference CompareWithChip(const ImageBuffer &image, const QByteArray &chip);

// Bytes into the buffer as an image without a file: whole rows, "XX" after
// the last byte.
void LoadBytes(ImageBuffer &buffer, const QByteArray &bytes);

// The image's rows, bytes and "XX" marks, and its FileEnd, into another buffer.
void CopyImage(const ImageBuffer &from, ImageBuffer &to);

} // namespace kvr::cli
