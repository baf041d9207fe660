// The CPU a wait for a reply that never comes costs: the exchange sleeps in
// its event loop until a character, Stop, the line's loss or the deadline.
#include "Link.h"
#include "LoopbackPort.h"
#include "Session.h"
#include "SilentUi.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

#include <ctime>

using namespace kvr;

namespace {

// Nothing answers.
class SilentPeer : public LinkPeer {
public:
  void receiveFromPc(const QByteArray &) override {}
};

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return now.tv_sec + now.tv_nsec / 1e9;
}

void BM_TenSecondWaitForSilence(benchmark::State &state) {
  SilentPeer peer;
  LoopbackPort port(&peer);
  port.open();
  Session session;
  SilentUi ui;
  ui.setActivity(QStringLiteral("Erase"));
  Link link(port, session, ui);
  link.setReplyTimeout(std::chrono::seconds(10));
  for (auto _ : state) {
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = ProcessCpuSeconds();
    link.SendAndReceive(QByteArray("\x05"
                                   "B"),
                        false, true, 2, true, true);
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    state.counters["wall_s"] = wall.nsecsElapsed() / 1e9;
    state.counters["cpu_ms"] = cpu * 1000.0;
    state.counters["cpu_pct_of_core"] = 100.0 * cpu / (wall.nsecsElapsed() / 1e9);
  }
}
BENCHMARK(BM_TenSecondWaitForSilence)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
