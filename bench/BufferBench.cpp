// A full 64 KB image into the buffer from Intel HEX and from binary, and
// saved back, through the same paths the File menu takes.
#include "BufferFiles.h"
#include "ControlPanel.h"
#include "ImageBuffer.h"
#include "Session.h"
#include "SilentUi.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace kvr;

namespace {

// Shows nothing and is never asked anything.
QByteArray FullImage() {
  QByteArray image(0x10000, '\0');
  for (int i = 0; i < image.size(); ++i)
    image[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
  return image;
}

// 32-byte data records, as programmers' tools commonly write them.
QByteArray AsIntelHex(const QByteArray &image) {
  QByteArray text;
  for (int address = 0; address < image.size(); address += 32) {
    QByteArray record;
    record.append(char(32)).append(char(address >> 8)).append(char(address & 0xFF)).append('\0');
    record.append(image.mid(address, 32));
    int sum = 0;
    for (const char c : record)
      sum += static_cast<unsigned char>(c);
    record.append(static_cast<char>(-sum & 0xFF));
    text.append(':').append(record.toHex().toUpper()).append("\r\n");
  }
  return text.append(":00000001FF\r\n");
}

struct Bench {
  Bench() : panel(session), files(session, ui, panel, buffer) {
    panel.setBufferFacts([this] { return buffer.rowCount(); },
                         [this] { return buffer.CurrentFilePath; });
  }

  QString Write(const QString &name, const QByteArray &bytes) {
    QFile file(dir.filePath(name));
    if (file.open(QIODevice::WriteOnly))
      file.write(bytes);
    return file.fileName();
  }

  QTemporaryDir dir;
  Session session;
  SilentUi ui;
  ControlPanel panel;
  ImageBuffer buffer;
  BufferFiles files;
};

void BM_LoadIntelHex64K(benchmark::State &state) {
  Bench bench;
  const QString path = bench.Write("image.hex", AsIntelHex(FullImage()));
  for (auto _ : state)
    if (!bench.files.FileOpenHex_1(path) || bench.buffer.FileEnd != 0x10001)
      state.SkipWithError("the HEX file did not load");
  state.SetBytesProcessed(state.iterations() * 0x10000);
}
BENCHMARK(BM_LoadIntelHex64K)->Unit(benchmark::kMillisecond);

void BM_LoadBinary64K(benchmark::State &state) {
  Bench bench;
  const QString path = bench.Write("image.bin", FullImage());
  for (auto _ : state)
    if (!bench.files.FileOpen(path) || bench.buffer.FileEnd != 0x10001)
      state.SkipWithError("the binary file did not load");
  state.SetBytesProcessed(state.iterations() * 0x10000);
}
BENCHMARK(BM_LoadBinary64K)->Unit(benchmark::kMillisecond);

void BM_Save64K(benchmark::State &state) {
  Bench bench;
  bench.files.FileOpen(bench.Write("image.bin", FullImage()));
  bench.buffer.CurrentFilePath = bench.dir.filePath("saved.bin");
  for (auto _ : state)
    if (!bench.files.FileSave())
      state.SkipWithError("the image was not saved");
  state.SetBytesProcessed(state.iterations() * 0x10000);
}
BENCHMARK(BM_Save64K)->Unit(benchmark::kMillisecond);

} // namespace
