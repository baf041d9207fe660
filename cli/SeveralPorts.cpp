#include "SeveralPorts.h"

#include "CliContext.h"
#include "PortMap.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif

namespace kvr::cli {

#ifdef Q_OS_UNIX

namespace {

volatile std::sig_atomic_t interrupts = 0;
extern "C" void CountInterrupt(int) { interrupts = interrupts + 1; }
// As often as the single-port run looks for Ctrl-C.
constexpr int kPollMs = 50;

// A port's own kvr-cli asks for the next chip; the run asks once for every port.
const QRegularExpression &PortPrompt() {
  static const QRegularExpression prompt(
      QStringLiteral("^kvr-cli: seat chip \\d+ and press Enter\\.$"));
  return prompt;
}

// One port and the kvr-cli that programs its chips.
struct Station {
  QString port; // as given
  QProcess process;
  QByteArray outPending;
  QByteArray errPending;
  int chipsDone = 0;
  bool ended = false;
  int status = 0;
};

class ProductionLine {
public:
  ProductionLine(const CliOptions &options, QTextStream &out, QTextStream &err)
      : options_(options), out_(out), err_(err) {}

  ExitStatus Run();

private:
  // What every port needs, checked once before any port is touched.
  ExitStatus Prepare();
  QStringList StationArguments(const QString &port) const;
  void Start(Station &station);
  void TakeOutput(Station &station, bool fromStdout);
  void Ended(Station &station, int exitCode, QProcess::ExitStatus how);
  void ForwardInterrupts();
  void TakeInput();
  void NextRoundOrEnd();
  void Note(const QString &text);
  ExitStatus Verdict() const;

  CliOptions options_;
  QTextStream &out_;
  QTextStream &err_;
  QString device_;
  std::vector<std::unique_ptr<Station>> stations_;
  QEventLoop loop_;
  QTimer poll_;
  std::unique_ptr<QSocketNotifier> input_;
  QByteArray typed_;
  int round_ = 1;
  bool prompting_ = false;
  bool inputEnded_ = false;
  int forwarded_ = 0;
};

void ProductionLine::Note(const QString &text) {
  err_ << "kvr-cli: " << text << '\n';
  err_.flush();
}

ExitStatus ProductionLine::Prepare() {
  CliOptions single = options_;
  single.port.clear();
  CliContext c(single, out_, err_);
  ExitStatus status = c.OpenCatalogue();
  if (status == ExitStatus::Success)
    status = c.SelectDevice(c.ChosenDevice());
  if (status != ExitStatus::Success)
    return status;
  device_ = c.ChosenDevice();

  static const QRegularExpression comName(QStringLiteral("^COM\\d+$"),
                                          QRegularExpression::CaseInsensitiveOption);
  QStringList paths;
  for (const QString &given : options_.ports) {
    const QString port = given.trimmed();
    const int number = ParsePortName(port);
    if (!number && comName.match(port).hasMatch()) {
      c.ui().note(QStringLiteral("--port takes COM1 to COM16, or a device path."));
      return ExitStatus::UsageError;
    }
    const QString path = number ? c.core().ports().pathFor(number) : port;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QString same = canonical.isEmpty() ? path : canonical;
    if (!path.isEmpty() && paths.contains(same)) {
      c.ui().note(QStringLiteral("%1 is given twice: each port takes one programmer.").arg(given));
      return ExitStatus::UsageError;
    }
    paths.append(same);
  }

  status = c.OpenProductionLog();
  if (status == ExitStatus::Success)
    status = c.LoadImageFile(options_.arguments.first());
  return status;
}

QStringList ProductionLine::StationArguments(const QString &port) const {
  QStringList arguments{
      QStringLiteral("--port"),    port,
      QStringLiteral("--device"),  device_,
      QStringLiteral("--timeout"), QString::number(options_.timeout.count() / 1000.0)};
  if (!options_.dataDir.isEmpty())
    arguments << QStringLiteral("--data-dir") << options_.dataDir;
  if (options_.yes)
    arguments << QStringLiteral("--yes");
  if (options_.verbosity == Verbosity::Quiet)
    arguments << QStringLiteral("--quiet");
  if (options_.verbosity == Verbosity::Verbose)
    arguments << QStringLiteral("--verbose");
  arguments << QStringLiteral("auto") << options_.arguments.first() << QStringLiteral("--count")
            << QString::number(options_.count);
  if (!options_.log.isEmpty())
    arguments << QStringLiteral("--log") << options_.log;
  if (options_.binary)
    arguments << QStringLiteral("--binary");
  return arguments;
}

void ProductionLine::Start(Station &station) {
  QProcess &process = station.process;
  // A process group of its own: Ctrl-C at the terminal reaches this run
  // alone, which hands it on once to every port.
  process.setChildProcessModifier([] { ::setpgid(0, 0); });
  QObject::connect(&process, &QProcess::readyReadStandardOutput, &loop_,
                   [this, &station] { TakeOutput(station, true); });
  QObject::connect(&process, &QProcess::readyReadStandardError, &loop_,
                   [this, &station] { TakeOutput(station, false); });
  QObject::connect(
      &process, &QProcess::finished, &loop_,
      [this, &station](int code, QProcess::ExitStatus how) { Ended(station, code, how); });
  QObject::connect(&process, &QProcess::errorOccurred, &loop_,
                   [this, &station](QProcess::ProcessError error) {
                     if (error == QProcess::FailedToStart)
                       Ended(station, -1, QProcess::CrashExit);
                   });
  process.start(QCoreApplication::applicationFilePath(), StationArguments(station.port));
}

void ProductionLine::TakeOutput(Station &station, bool fromStdout) {
  QByteArray &pending = fromStdout ? station.outPending : station.errPending;
  pending +=
      fromStdout ? station.process.readAllStandardOutput() : station.process.readAllStandardError();
  // The last piece of a port that ended is a line too.
  for (qsizetype end;
       (end = pending.indexOf('\n')) >= 0 || (station.ended && !pending.isEmpty());) {
    const QString line = QString::fromLocal8Bit(pending.left(end < 0 ? pending.size() : end));
    pending.remove(0, end < 0 ? pending.size() : end + 1);
    if (fromStdout) {
      // Auto's standard output is its line per chip.
      out_ << station.port << ": " << line << '\n';
      out_.flush();
      ++station.chipsDone;
    } else if (!line.isEmpty() && !PortPrompt().match(line).hasMatch()) {
      err_ << station.port << ": " << line << '\n';
      err_.flush();
    }
  }
  NextRoundOrEnd();
}

void ProductionLine::Ended(Station &station, int exitCode, QProcess::ExitStatus how) {
  station.ended = true;
  station.status =
      how == QProcess::NormalExit ? exitCode : static_cast<int>(ExitStatus::LinkFailure);
  TakeOutput(station, true);
  TakeOutput(station, false);
  if (how != QProcess::NormalExit)
    Note(QStringLiteral("%1: kvr-cli ended abnormally (%2); no further chips on this port.")
             .arg(station.port, station.process.errorString()));
  else if (station.status == static_cast<int>(ExitStatus::LinkFailure))
    Note(QStringLiteral("%1: the link failed; no further chips on this port.").arg(station.port));
  NextRoundOrEnd();
}

void ProductionLine::ForwardInterrupts() {
  if (interrupts == forwarded_)
    return;
  forwarded_ = interrupts;
  // Each port's kvr-cli presses Stop; a second Ctrl-C ends them at once.
  for (const auto &station : stations_)
    if (!station->ended && station->process.processId() > 0)
      ::kill(static_cast<pid_t>(station->process.processId()), SIGINT);
}

void ProductionLine::TakeInput() {
  char buffer[256];
  const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (n > 0)
    typed_.append(buffer, n);
  else if (n == 0)
    inputEnded_ = true;
  NextRoundOrEnd();
}

void ProductionLine::NextRoundOrEnd() {
  bool anyGoing = false;
  for (const auto &station : stations_) {
    if (station->ended)
      continue;
    anyGoing = true;
    if (station->chipsDone < round_)
      return; // this round's chip is still on its way
  }
  if (!anyGoing) {
    loop_.quit();
    return;
  }
  // Every port that goes on has done this round; after the last round
  // each port's kvr-cli ends by itself.
  if (round_ >= options_.count || interrupts)
    return;
  if (!prompting_) {
    prompting_ = true;
    Note(QStringLiteral("seat the chips of round %1 and press Enter.").arg(round_ + 1));
    input_->setEnabled(true);
  }
  const qsizetype end = typed_.indexOf('\n');
  if (end < 0 && !inputEnded_)
    return;
  prompting_ = false;
  input_->setEnabled(false);
  if (end < 0) {
    Note(QStringLiteral("the input ended before round %1.").arg(round_ + 1));
    for (const auto &station : stations_)
      station->process.closeWriteChannel();
    return;
  }
  typed_.remove(0, end + 1);
  ++round_;
  for (const auto &station : stations_)
    if (!station->ended)
      station->process.write("\n");
}

ExitStatus ProductionLine::Verdict() const {
  std::vector<int> statuses;
  for (const auto &station : stations_)
    statuses.push_back(station->status);
  const auto any = [&](ExitStatus s) {
    return std::find(statuses.begin(), statuses.end(), static_cast<int>(s)) != statuses.end();
  };
  if (interrupts || any(ExitStatus::Interrupted))
    return ExitStatus::Interrupted;
  if (any(ExitStatus::UsageError))
    return ExitStatus::UsageError;
  if (std::all_of(statuses.begin(), statuses.end(),
                  [](int s) { return s == static_cast<int>(ExitStatus::LinkFailure); }))
    return ExitStatus::LinkFailure;
  // A port lost while the others went on is a chip that failed.
  return any(ExitStatus::DeviceFailure) || any(ExitStatus::LinkFailure) ? ExitStatus::DeviceFailure
                                                                        : ExitStatus::Success;
}

ExitStatus ProductionLine::Run() {
  try {
    const ExitStatus prepared = Prepare();
    if (prepared != ExitStatus::Success)
      return prepared;
  } catch (const UnansweredQuestion &) {
    return ExitStatus::UsageError; // the question and its option are shown
  }

  interrupts = 0;
  struct sigaction action {};
  action.sa_handler = CountInterrupt;
  sigemptyset(&action.sa_mask);
  struct sigaction before {};
  sigaction(SIGINT, &action, &before);

  input_ = std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read);
  input_->setEnabled(false);
  QObject::connect(input_.get(), &QSocketNotifier::activated, &loop_, [this] { TakeInput(); });
  poll_.setInterval(kPollMs);
  QObject::connect(&poll_, &QTimer::timeout, &loop_, [this] { ForwardInterrupts(); });
  poll_.start();
  for (const QString &port : options_.ports) {
    stations_.push_back(std::make_unique<Station>());
    stations_.back()->port = port.trimmed();
  }
  for (const auto &station : stations_)
    Start(*station);
  loop_.exec();

  poll_.stop();
  input_.reset();
  sigaction(SIGINT, &before, nullptr);
  return Verdict();
}

} // namespace

ExitStatus AutoOnSeveralPorts(const CliOptions &options, QTextStream &out, QTextStream &err) {
  return ProductionLine(options, out, err).Run();
}

#else

ExitStatus AutoOnSeveralPorts(const CliOptions &, QTextStream &, QTextStream &err) {
  err << "kvr-cli: several ports at once need a POSIX system; give one --port.\n";
  err.flush();
  return ExitStatus::UsageError;
}

#endif

} // namespace kvr::cli
