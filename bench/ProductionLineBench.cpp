// kvr-cli auto of an 8 KB image as a whole process, on four kvr-sim
// programmers at 19200 baud at once against one alone: four ports at once
// should take about as long as one.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

constexpr int kPorts = 4;
constexpr int kImageSize = 8192;

QString Program(const char *name) {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QLatin1String(name));
}

// Programmers with a fresh chip 017 (8 KB) on a 19200-baud line; their terminals.
bool StartProgrammers(std::vector<QProcess> &simulators, QStringList &ports) {
  for (QProcess &simulator : simulators) {
    simulator.start(Program("kvr-sim"), {"--chip", "017", "--line-rate", "19200"});
    if (!simulator.waitForStarted() || !simulator.waitForReadyRead(5000))
      return false;
    ports << QString::fromLocal8Bit(simulator.readLine()).trimmed();
  }
  return true;
}

void StopProgrammers(std::vector<QProcess> &simulators) {
  for (QProcess &simulator : simulators) {
    simulator.terminate();
    simulator.waitForFinished(3000);
  }
}

// Seconds for auto on every port at once; 0 when a chip did not pass.
double AutoSeconds(const QProcessEnvironment &environment, const QString &image, int portCount) {
  std::vector<QProcess> simulators(portCount);
  QStringList ports;
  double seconds = 0;
  if (StartProgrammers(simulators, ports)) {
    QStringList arguments;
    for (const QString &port : ports)
      arguments << "--port" << port;
    arguments << "--device"
              << "017"
              << "auto" << image;
    QProcess cli;
    cli.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    cli.start(Program("kvr-cli"), arguments);
    cli.waitForFinished(300000);
    const double elapsed = clock.nsecsElapsed() / 1e9;
    if (cli.exitStatus() == QProcess::NormalExit && cli.exitCode() == 0 &&
        cli.readAllStandardOutput().count("Chip 1: passed") == portCount)
      seconds = elapsed;
  }
  StopProgrammers(simulators);
  return seconds;
}

void BM_Auto8KbOnFourPortsAgainstOneAt19200(benchmark::State &state) {
  QTemporaryDir folder;
  const QString image = folder.filePath("image.bin");
  QFile file(image);
  if (!file.open(QIODevice::WriteOnly)) {
    state.SkipWithError("no image file");
    return;
  }
  for (int i = 0; i < kImageSize; ++i)
    file.putChar(static_cast<char>((i * 7 + 3) % 251));
  file.close();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("HOME", folder.path());
  environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));

  for (auto _ : state) {
    const double one = AutoSeconds(environment, image, 1);
    const double four = AutoSeconds(environment, image, kPorts);
    if (one == 0 || four == 0) {
      state.SkipWithError("a chip did not pass");
      return;
    }
    state.counters["one_port_s"] = one;
    state.counters["four_ports_s"] = four;
    state.counters["ratio"] = four / one;
  }
}
BENCHMARK(BM_Auto8KbOnFourPortsAgainstOneAt19200)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
