// The Intel HEX reader on any file: what it reads must be a consistent
// image, a file read strictly reads the same when tolerated, and the window's
// reader loads and saves exactly that image.
#include "FuzzCheck.h"
#include "IntelHex.h"
#include "ReaderRig.h"

#include <algorithm>

using namespace kvr;

namespace {

void CheckImage(const HexImage &image) {
  FUZZ_CHECK(image.bytes.size() == HexImage::kAddressSpace);
  FUZZ_CHECK(image.written.size() == HexImage::kAddressSpace);
  FUZZ_CHECK(image.highestRow >= -1 && image.highestRow < HexImage::kAddressSpace / 16);
  FUZZ_CHECK(image.imageLength >= 0 && image.imageLength <= 16 * (image.highestRow + 1));
  int written = 0;
  for (int address = 0; address < HexImage::kAddressSpace; ++address) {
    if (image.written[address]) {
      ++written;
      FUZZ_CHECK(address < image.imageLength);
    } else {
      FUZZ_CHECK(image.bytes[address] == 0); // gaps read as 00h
    }
  }
  FUZZ_CHECK(image.placedBytes >= written);
}

bool SameImage(const HexImage &a, const HexImage &b) {
  return a.bytes == b.bytes && a.written == b.written && a.imageLength == b.imageLength &&
         a.highestRow == b.highestRow;
}

// The window's reader, answering Yes to "load it anyway", then Save as binary.
void CheckWindowReader(const QByteArray &file, const HexImage &expected) {
  fuzz::ReaderRig rig;
  const QString path = rig.Put(QStringLiteral("in.hex"), file.constData(), file.size());
  const bool loaded = rig.files.FileOpenHex_1(path);
  FUZZ_CHECK(loaded == (expected.outcome == HexImage::Outcome::Loaded));
  if (!loaded) {
    FUZZ_CHECK(rig.buffer.CurrentFilePath.isEmpty()); // a refused file changes nothing
    return;
  }
  FUZZ_CHECK(rig.buffer.FileEnd == expected.imageLength + 1);
  FUZZ_CHECK(rig.buffer.rowCount() >= expected.highestRow + 1);
  FUZZ_CHECK(rig.SavedImage() == expected.bytes.left(expected.imageLength));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  const HexImage strict = ReadIntelHex(file, HexReading::Strict);
  const HexImage tolerant = ReadIntelHex(file, HexReading::Tolerant);
  const bool notHex = file.size() < 11 || file.at(0) != ':';
  FUZZ_CHECK((strict.outcome == HexImage::Outcome::NotHex) == notHex);
  FUZZ_CHECK((tolerant.outcome == HexImage::Outcome::NotHex) == notHex);
  FUZZ_CHECK(tolerant.outcome != HexImage::Outcome::Damaged);

  if (strict.outcome == HexImage::Outcome::Damaged) {
    // At most the line after the last, where a missing end-of-file record belongs.
    FUZZ_CHECK(strict.damagedLine >= 1 && strict.damagedLine <= file.count('\n') + 2);
  } else {
    FUZZ_CHECK(strict.outcome == tolerant.outcome);
  }
  if (strict.outcome == HexImage::Outcome::Loaded) {
    CheckImage(strict);
    FUZZ_CHECK(SameImage(strict, tolerant));
  }
  if (tolerant.outcome == HexImage::Outcome::Loaded)
    CheckImage(tolerant);

  CheckWindowReader(file, strict.outcome == HexImage::Outcome::Damaged ? tolerant : strict);
  return 0;
}
