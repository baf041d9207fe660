#include "CliRig.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSettings>
#include <QTimer>

#include <csignal>

namespace kvr::test {

namespace {
constexpr int kRunLimitMs = 60000;

QString Program(const char *name) {
  return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

QJsonObject ReadState(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return {};
  return QJsonDocument::fromJson(file.readAll()).object();
}
} // namespace

QByteArray CodePattern(int count, int seed) {
  QByteArray bytes(count, 0);
  for (int i = 0; i < count; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed) % 251);
  return bytes;
}

bool WaitsForAnswer(const QByteArray &sent, char letter, int acks, int after) {
  const qsizetype command = sent.indexOf(QByteArray("\x05") + letter);
  const QByteArray since = sent.mid(command);
  return command >= 0 && since.count(kClosingAck) == acks &&
         since.size() - since.lastIndexOf(kClosingAck) - kClosingAck.size() == after;
}

void CliRig::TearDown() {
  port.clear();
  chip = QStringLiteral("017");
  for (const auto &sim : sims) {
    sim->kill();
    sim->waitForFinished(3000);
  }
  sims.clear();
  QFile::remove(State()); // the next kvr-sim starts with a blank chip
}

QString CliRig::StartSim(const QString &seated, const QStringList &options) {
  QProcess &sim = *sims.emplace_back(std::make_unique<QProcess>());
  sim.setProcessEnvironment(folder.environment());
  sim.start(Program("kvr-sim"), QStringList{"--chip", seated, "--state", State()} + options);
  if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000))
    return {};
  chip = seated;
  port = QString::fromLocal8Bit(sim.readLine()).trimmed();
  return port;
}

void CliRig::StopSim() {
  ::kill(static_cast<pid_t>(sims.back()->processId()), SIGINT);
  sims.back()->waitForFinished(5000);
}

QByteArray CliRig::SavedStore(const QString &store) const {
  const QJsonObject stores = ReadState(State()).value(QStringLiteral("stores")).toObject();
  return QByteArray::fromHex(stores.value(store).toString().toLatin1());
}

int CliRig::SavedLockBits() const {
  return ReadState(State()).value(QStringLiteral("lockBits")).toInt(-1);
}

void CliRig::WriteFile(const QString &name, const QByteArray &contents) const {
  QFile file(File(name));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(contents);
}

QByteArray CliRig::ReadFile(const QString &name) const {
  QFile file(File(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList CliRig::Args(const QString &command) const {
  QStringList arguments;
  for (const QString &word : command.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    arguments << (word.startsWith(QLatin1Char('@')) ? File(word.mid(1)) : word);
  const auto add = [&](const QString &option, const QString &value) {
    if (arguments.filter(QRegularExpression(QLatin1Char('^') + option + "(=|$)")).isEmpty())
      arguments << option << value;
  };
  add(QStringLiteral("--port"), port.isEmpty() ? File(QStringLiteral("no-port")) : port);
  add(QStringLiteral("--device"), chip);
  add(QStringLiteral("--timeout"), QStringLiteral("2"));
  return arguments;
}

CliRig::Result CliRig::Expect(const QString &command, int status, const QString &text,
                              const QByteArray &input) {
  const Result run = Cli(Args(command), input);
  const QString said = QString(text).replace(" @", QLatin1Char(' ') + files.path() + '/');
  const std::string trace = command.toStdString() + "\n" + run.err.toStdString();
  EXPECT_EQ(run.status, status) << trace;
  EXPECT_TRUE(run.err.contains(said)) << said.toStdString() << " is not in: " << trace;
  EXPECT_FALSE(status == kUsageError && run.err.contains("There is no device"))
      << "a port was opened: " << trace;
  return run;
}

CliRig::Result CliRig::Cli(const QStringList &arguments, const QByteArray &input,
                           const std::function<void()> &inChild) {
  return Run(arguments, input, {}, inChild, false);
}

CliRig::Result CliRig::CliLive(const QStringList &arguments,
                               const std::function<bool(const QString &err)> &interruptWhen,
                               const std::optional<QByteArray> &input) {
  return Run(arguments, input, interruptWhen, {}, true);
}

CliRig::Result CliRig::Run(const QStringList &arguments, const std::optional<QByteArray> &input,
                           const std::function<bool(const QString &err)> &interruptWhen,
                           const std::function<void()> &inChild, bool live) {
  QProcess cli;
  QProcessEnvironment environment = folder.environment();
  if (inChild) {
    cli.setChildProcessModifier(inChild);
    // Under a file size limit a coverage build's counters would be written
    // cut short over the shared ones: this child keeps its own.
    environment.insert(QStringLiteral("GCOV_PREFIX"), folder.path() + QStringLiteral("/gcov"));
  }
  cli.setProcessEnvironment(environment);
  QEventLoop loop;
  QTimer watch;
  Result result;
  bool pressed = false;
  QObject::connect(&cli, &QProcess::finished, &loop, &QEventLoop::quit);
  QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
    result.err += QString::fromLocal8Bit(cli.readAllStandardError());
    if (interruptWhen && !pressed && interruptWhen(result.err)) {
      pressed = true;
      ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    }
  });
  QTimer::singleShot(kRunLimitMs, &loop, &QEventLoop::quit);
  cli.start(Program("kvr-cli"), arguments);
  if (input) {
    cli.write(*input);
    cli.closeWriteChannel();
  }
  watch.start(10);
  loop.exec();
  if (live) {
    // The last characters the program wrote reach the test's LineTap meanwhile.
    QTimer::singleShot(200, &loop, &QEventLoop::quit);
    loop.exec();
  }
  if (cli.state() != QProcess::NotRunning) {
    cli.kill();
    cli.waitForFinished(3000);
    ADD_FAILURE() << "kvr-cli did not end";
  }
  EXPECT_EQ(pressed, static_cast<bool>(interruptWhen)) << "Ctrl-C pressed, or never ready for it";
  result.status = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  result.out = QString::fromLocal8Bit(cli.readAllStandardOutput());
  result.err += QString::fromLocal8Bit(cli.readAllStandardError());
  return result;
}

void CliRig::Save(const QString &group, const QString &key, const QString &value) const {
  QSettings settings;
  settings.setValue(group + QLatin1Char('/') + key, value);
}

} // namespace kvr::test
