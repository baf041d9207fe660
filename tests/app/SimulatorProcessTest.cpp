// The simulator the window starts for --sim ends with the window, even when
// the window is killed rather than closed.
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

// The children of a process named so, from /proc; 0 when there is none.
qint64 ChildNamed(qint64 parent, const QByteArray &name) {
  for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
    if (!stat.open(QIODevice::ReadOnly))
      continue;
    // pid (comm) state ppid ...
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    const QList<QByteArray> fields = line.mid(close + 2).split(' ');
    if (line.mid(line.indexOf('(') + 1, close - line.indexOf('(') - 1) == name &&
        fields.size() > 1 && fields[1].toLongLong() == parent)
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
  QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
  if (!stat.open(QIODevice::ReadOnly))
    return true;
  const QByteArray line = stat.readAll();
  return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
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

TEST(SimulatorProcess, EndsWhenTheWindowIsKilled) {
  kvr::test::ProgramFolder folder;
  QProcess window;
  QProcessEnvironment env = folder.environment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  window.setProcessEnvironment(env);
  window.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kvr"),
               {QStringLiteral("--sim"), QStringLiteral("017"), QStringLiteral("--no-splash")});
  ASSERT_TRUE(window.waitForStarted(5000));

  qint64 simulator = 0;
  ASSERT_TRUE(Within(10000, [&] {
    return (simulator = ChildNamed(window.processId(), "kvr-sim"));
  })) << "kvr --sim started no kvr-sim";
  ASSERT_TRUE(Within(10000, [&] { return HasOpen(window.processId(), "/KVR104.sqlite"); }))
      << "the window never got past its simulator";
  ::kill(static_cast<pid_t>(window.processId()), SIGKILL);
  window.waitForFinished(3000);
  EXPECT_TRUE(Within(5000, [&] { return Ended(simulator); })) << "kvr-sim outlived the window";
  if (!Ended(simulator))
    ::kill(static_cast<pid_t>(simulator), SIGKILL);
}

} // namespace
