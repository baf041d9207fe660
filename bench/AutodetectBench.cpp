// kvr-cli detect without --port, as a whole process: four serial ports where
// nothing answers, and the programmer (kvr-sim) behind a fifth. Each silent
// port costs the presence limit of autodetect, not the 40 s reply time-out.
#include "PortDirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <vector>

using namespace kvr;

namespace {

constexpr int kSilentPorts = 4;

// A pseudo-terminal with nobody on its other end: what the PC writes is
// never answered.
struct SilentLine {
  int master = posix_openpt(O_RDWR | O_NOCTTY);
  SilentLine() {
    if (master >= 0 && (grantpt(master) != 0 || unlockpt(master) != 0)) {
      ::close(master);
      master = -1;
    }
  }
  ~SilentLine() {
    if (master >= 0)
      ::close(master);
  }
  QString path() const { return master >= 0 ? QString::fromLocal8Bit(ptsname(master)) : QString(); }
};

void BM_AutodetectPastFourSilentPorts(benchmark::State &state) {
  const QString programs = QCoreApplication::applicationDirPath();
  QTemporaryDir folder;
  QProcess simulator;
  simulator.start(QDir(programs).filePath("kvr-sim"), {"--chip", "017"});
  if (!simulator.waitForStarted() || !simulator.waitForReadyRead(5000)) {
    state.SkipWithError("kvr-sim did not start");
    return;
  }
  const QString programmer = QString::fromLocal8Bit(simulator.readLine()).trimmed();

  // Five UARTs as the system would list them, ttyS0..ttyS4; the programmer is on the last.
  std::vector<SilentLine> silent(kSilentPorts);
  QList<PortInfo> ports;
  for (int i = 0; i <= kSilentPorts; ++i) {
    const QString target = i < kSilentPorts ? silent[i].path() : programmer;
    const QString device = folder.filePath(QStringLiteral("ttyS%1").arg(i));
    if (target.isEmpty() || !QFile::link(target, device)) {
      state.SkipWithError("no pseudo-terminal");
      return;
    }
    PortInfo port;
    port.path = device;
    ports.append(port);
  }
  const QString list = folder.filePath("ports.ini");
  ListedPortDirectory::Write(list, ports);

  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(kPortListVariable, list);
  environment.insert("HOME", folder.path());
  environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
  for (auto _ : state) {
    QFile::remove(folder.filePath("config/Torvane/KVR 1.04.ini")); // nothing pinned yet
    QProcess cli;
    cli.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    cli.start(QDir(programs).filePath("kvr-cli"), {"detect"});
    cli.waitForFinished(300000);
    state.counters["autodetect_s"] = clock.nsecsElapsed() / 1e9;
    if (cli.exitCode() != 0 || !cli.readAllStandardOutput().startsWith(
                                   QByteArray("COM") + QByteArray::number(kSilentPorts + 1))) {
      state.SkipWithError("the programmer was not found on the fifth port");
      break;
    }
  }
  simulator.terminate();
  simulator.waitForFinished(3000);
}
BENCHMARK(BM_AutodetectPastFourSilentPorts)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

} // namespace
