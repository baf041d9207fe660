// A 64 KB image written to the simulated programmer and read back, block by
// block through the link's exchange and a LoopbackPort, without pacing: what
// the PC side and the firmware cost when the line costs nothing.
#include "ChipSource.h"
#include "Globals.h"
#include "LoopbackPort.h"
#include "PcSide.h"
#include "Programmer.h"
#include "ScriptedUi.h"
#include "Session.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace kvr;
using namespace kvr::sim;

namespace {

void BM_WriteAndRead64KbThroughLoopback(benchmark::State &state) {
  Programmer programmer;
  programmer.seat(std::make_unique<SimChip>(*FindBuiltInChip(QStringLiteral("065"))));
  LoopbackPort port(&programmer);
  port.open();
  Session session;
  kvr::test::ScriptedUi ui; // the Ui the tests keep up to date
  Link link(port, session, ui);
  sim::bench::PcSide pc(link, port, session);
  QByteArray image(BaseModule::SixtyFourKB, 0);
  for (int i = 0; i < image.size(); ++i)
    image[i] = static_cast<char>(i * 13);

  for (auto _ : state) {
    const bool written = pc.writeImage(CommandPayload(BaseModule::CmdWrite, D5(image.size())),
                                       image, FindCommand(BaseModule::CmdWrite)->blockResultLength);
    const std::optional<QByteArray> read =
        pc.readImage(CommandPayload(BaseModule::CmdRead, D5(image.size())));
    if (!written || !read || *read != image) {
      state.SkipWithError("the image did not come back");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * 2 * image.size());
}
BENCHMARK(BM_WriteAndRead64KbThroughLoopback)->Unit(benchmark::kMillisecond);

} // namespace
