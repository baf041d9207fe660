// Building and parsing the data frames of a 64 KB transfer: 2048 blocks of
// 32 bytes, each byte as two link characters.
#include "BaseModule.h"
#include "CommandSet.h"
#include "Frame.h"
#include "Globals.h"

#include <benchmark/benchmark.h>

using namespace kvr;

static void BM_BuildAndParse2048DataFrames(benchmark::State &state) {
  QByteArray image(BaseModule::SixtyFourKB, 0);
  for (int i = 0; i < image.size(); ++i)
    image[i] = static_cast<char>(i * 7);
  for (auto _ : state) {
    qsizetype total = 0;
    for (int block = 0; block < image.size() / kBlockSize; ++block) {
      QByteArray payload;
      payload.reserve(2 * kBlockSize + 1);
      for (int i = 0; i < kBlockSize; ++i)
        payload.append(EncodeByte(static_cast<unsigned char>(image[block * kBlockSize + i])));
      const bool last = block == image.size() / kBlockSize - 1;
      if (!last)
        payload.append(BaseModule::ETB);
      const QByteArray frame = BuildFrame(payload, false);
      const ParsedReply parsed = ParseReply(frame, false);
      total += parsed.data.size();
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetItemsProcessed(state.iterations() * (image.size() / kBlockSize));
}
BENCHMARK(BM_BuildAndParse2048DataFrames)->Unit(benchmark::kMillisecond);
