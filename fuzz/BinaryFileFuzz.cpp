// The binary reader on any file: the image is the file's bytes from address
// 0, and saving it gives the same file back.
#include "FuzzCheck.h"
#include "ReaderRig.h"

using namespace kvr;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const QByteArray file(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  fuzz::ReaderRig rig;
  const QString path = rig.Put(QStringLiteral("in.bin"), file.constData(), file.size());
  FUZZ_CHECK(rig.files.FileOpen(path));
  FUZZ_CHECK(rig.buffer.CurrentFilePath == path);
  FUZZ_CHECK(rig.buffer.FileEnd == file.size() + 1);
  FUZZ_CHECK(rig.buffer.rowCount() % 2 == 0);
  FUZZ_CHECK(16 * rig.buffer.rowCount() >= file.size());
  FUZZ_CHECK(rig.buffer.imageBytes(static_cast<int>(file.size())) == file);
  FUZZ_CHECK(rig.SavedImage() == file);
  return 0;
}
