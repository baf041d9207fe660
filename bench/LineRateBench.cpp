// An 8 KB write and read-back through kvr-sim paced at 19200 baud, as the
// program runs them (AppCore, QtSerialPort on the simulator's pseudo-terminal),
// against the line's own limit: characters on the wire x 10 bits / 19200 s.
// The argument is the latency timer of a USB-serial adapter the simulator
// models between the line and the PC: 0 for a plain line, 16 ms for an FTDI
// adapter as it comes, 1 ms once low-latency mode is on.
#include "AppCore.h"
#include "Globals.h"
#include "QtSerialPort.h"
#include "ScriptedUi.h"
#include "Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <benchmark/benchmark.h>

using namespace kvr;

namespace {

constexpr int kLineRate = 19200;
constexpr int kBitsPerCharacter = 10; // 7 data bits, parity, start and stop

// Counts the characters that cross the line in each direction.
class CountingPort : public SerialPort {
public:
  explicit CountingPort(SerialPort &line) : line_(line) {
    connect(&line_, &SerialPort::readyRead, this, &SerialPort::readyRead);
    connect(&line_, &SerialPort::connectionLost, this, &SerialPort::connectionLost);
  }
  void setPortName(const QString &name) override { line_.setPortName(name); }
  QString portName() const override { return line_.portName(); }
  bool setSettings(const QString &settings) override { return line_.setSettings(settings); }
  bool open() override { return line_.open(); }
  void close() override { line_.close(); }
  bool isOpen() const override { return line_.isOpen(); }
  bool write(const QByteArray &bytes) override {
    sent += bytes.size();
    return line_.write(bytes);
  }
  qint64 bytesWaiting() const override { return line_.bytesWaiting(); }
  QByteArray read(qint64 maxCount) override {
    const QByteArray bytes = line_.read(maxCount);
    received += bytes.size();
    return bytes;
  }
  void clearReceiveBuffer() override {
    received += line_.bytesWaiting();
    line_.clearReceiveBuffer();
  }
  QString errorString() const override { return line_.errorString(); }
  OpenFailure openFailure() const override { return line_.openFailure(); }

  qint64 sent = 0;
  qint64 received = 0;

private:
  SerialPort &line_;
};

struct Rig {
  QProcess simulator;
  QtSerialPort line;
  CountingPort port{line};
  Session session;
  test::ScriptedUi ui;
  std::unique_ptr<AppCore> core;

  bool Start(benchmark::State &state, int adapterLatencyMs) {
    const QString dir = QCoreApplication::applicationDirPath();
    simulator.start(QDir(dir).filePath("kvr-sim"),
                    {"--chip", "017", "--line-rate", QString::number(kLineRate),
                     "--adapter-latency", QString::number(adapterLatencyMs)});
    if (!simulator.waitForStarted() || !simulator.waitForReadyRead(5000)) {
      state.SkipWithError("kvr-sim did not start");
      return false;
    }
    const QString path = QString::fromLocal8Bit(simulator.readLine()).trimmed();
    core = std::make_unique<AppCore>(session, ui, port);
    BaseModule::InitGlobals(session, dir);
    if (core->catalogue().OpenCatalogue() != DatabaseHandlers::OpenOutcome::Opened ||
        !core->catalogue().SelectMcu("017")) {
      state.SkipWithError("no catalogue beside the benchmark");
      return false;
    }
    port.setPortName(path);
    port.setSettings(kPortSettings);
    if (!port.open()) {
      state.SkipWithError("the simulator's port did not open");
      return false;
    }
    session.PortIsOpen = session.ProgrammerPresent = session.SignatureVerified = true;
    return true;
  }

  ~Rig() {
    port.close();
    simulator.terminate();
    simulator.waitForFinished(3000);
  }
};

void Report(benchmark::State &state, const char *what, double seconds, qint64 characters) {
  const double limit = static_cast<double>(characters) * kBitsPerCharacter / kLineRate;
  state.counters[std::string(what) + "_s"] = seconds;
  state.counters[std::string(what) + "_line_s"] = limit;
  state.counters[std::string(what) + "_over_line_pct"] = 100.0 * (seconds - limit) / limit;
}

void BM_Write8KbAndReadBackAt19200(benchmark::State &state) {
  Rig rig;
  if (!rig.Start(state, static_cast<int>(state.range(0))))
    return;
  ImageBuffer &buffer = rig.core->buffer();
  buffer.setRowCount(512);
  for (int a = 0; a < 8192; ++a)
    buffer.setByte(a, static_cast<unsigned char>(a * 7));
  buffer.FileEnd = 8193;
  buffer.CurrentFilePath = "image.bin";
  QByteArray readBack;
  rig.core->context().files.loadImageFile = [&](const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && !(readBack = file.readAll()).isEmpty();
  };

  for (auto _ : state) {
    QElapsedTimer clock;
    rig.port.sent = rig.port.received = 0;
    clock.start();
    const bool written = rig.core->writeRead().WriteMCU(false);
    const double writeSeconds = clock.nsecsElapsed() / 1e9;
    const qint64 writeCharacters = rig.port.sent + rig.port.received;

    rig.port.sent = rig.port.received = 0;
    clock.restart();
    const bool read = rig.core->writeRead().ReadMCU();
    const double readSeconds = clock.nsecsElapsed() / 1e9;
    if (!written || !read || readBack.size() != 8192) {
      state.SkipWithError("the image did not go round");
      return;
    }
    Report(state, "write", writeSeconds, writeCharacters);
    Report(state, "read", readSeconds, rig.port.sent + rig.port.received);
  }
}
BENCHMARK(BM_Write8KbAndReadBackAt19200)
    ->ArgName("adapter_latency_ms")
    ->Arg(0)
    ->Arg(16)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

} // namespace
