// The window as a program: the options it takes, and the simulator it starts
// for --sim, which ends with the window, even when the window is killed.
#include "ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// pid (comm) state ppid ...: the name and the fields after it; nothing once gone.
std::pair<QByteArray, QList<QByteArray>> Stat(const QString &pid) {
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly))
    return {};
  const QByteArray line = stat.readAll();
  const qsizetype open = line.indexOf('('), close = line.lastIndexOf(')');
  return {line.mid(open + 1, close - open - 1), line.mid(close + 2).split(' ')};
}

// The child of a process named so; 0 when there is none.
qint64 ChildNamed(qint64 parent, const QByteArray &name) {
  for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    const auto [comm, fields] = Stat(entry);
    if (comm == name && fields.size() > 1 && fields[1].toLongLong() == parent)
      return entry.toLongLong();
  }
  return 0;
}

// Whether the process has a file of that name open. The window opens the
// catalogue once the simulator has named its port.
bool HasOpen(qint64 pid, const QString &name) {
  const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
  for (const QString &fd :
       QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
    if (QFile::symLinkTarget(fds + QLatin1Char('/') + fd).endsWith(name))
      return true;
  return false;
}

// Gone, or a zombie nobody has reaped yet.
bool Ended(qint64 pid) {
  const QList<QByteArray> fields = Stat(QString::number(pid)).second;
  return fields.isEmpty() || fields[0] == "Z";
}

template <class Condition> bool Within(int ms, Condition condition) {
  QElapsedTimer clock;
  clock.start();
  while (!condition()) {
    if (clock.elapsed() > ms)
      return false;
    QThread::msleep(20);
  }
  return true;
}

// The window as a process of its own, offscreen.
void StartWindow(QProcess &window, const kvr::test::ProgramFolder &folder,
                 const QStringList &arguments) {
  QProcessEnvironment env = folder.environment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  window.setProcessEnvironment(env);
  window.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kvr"), arguments);
}

TEST(SimulatorProcess, HelpNamesEveryOptionTheWindowTakes) {
  kvr::test::ProgramFolder folder;
  QProcess window;
  StartWindow(window, folder, {"--port-map", "COM2=/dev/null", "--no-splash", "--sim", "--help"});
  ASSERT_TRUE(window.waitForFinished(10000));
  EXPECT_EQ(window.exitCode(), 0) << window.readAllStandardError().toStdString();
  const QString help = QString::fromLocal8Bit(window.readAllStandardOutput());
  for (const char *option : {"--sim", "--port-map", "--no-splash"})
    EXPECT_TRUE(help.contains(option)) << option;
}

// "--sim" alone seats the default chip.
TEST(SimulatorProcess, EndsWhenTheWindowIsKilled) {
  kvr::test::ProgramFolder folder;
  QProcess window;
  StartWindow(window, folder, {"--sim", "--no-splash"});
  ASSERT_TRUE(window.waitForStarted(5000));

  qint64 simulator = 0;
  ASSERT_TRUE(Within(10000, [&] {
    return (simulator = ChildNamed(window.processId(), "kvr-sim"));
  })) << "kvr --sim started no kvr-sim";
  ASSERT_TRUE(Within(10000, [&] { return HasOpen(window.processId(), "/KVR104.sqlite"); }))
      << "the window never got past its simulator";
  QByteArray said; // kvr-sim's own words reach the window's terminal
  window.setReadChannel(QProcess::StandardError);
  EXPECT_TRUE(Within(5000, [&] {
    window.waitForReadyRead(50);
    said += window.readAllStandardError();
    return said.contains("kvr-sim: ") && said.contains(" seated");
  })) << said.toStdString();
  ::kill(static_cast<pid_t>(window.processId()), SIGKILL);
  window.waitForFinished(3000);
  EXPECT_TRUE(Within(5000, [&] { return Ended(simulator); })) << "kvr-sim outlived the window";
  if (!Ended(simulator))
    ::kill(static_cast<pid_t>(simulator), SIGKILL);
}

} // namespace
