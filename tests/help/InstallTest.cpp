// cmake --install into a temporary prefix: the installed programs find the
// catalogue in prefix/share/kvr.
#include "QtPrinters.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString RunProgram(const QString &program, const QStringList &arguments, int msecs, int *exitCode) {
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("KVR_HOME");
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory("/");
  process.start(program, arguments);
  if (!process.waitForFinished(msecs)) {
    process.kill();
    process.waitForFinished();
  }
  *exitCode = process.exitCode();
  return QString::fromLocal8Bit(process.readAll());
}

TEST(Install, ProgramsFindTheInstalledCatalogue) {
  QTemporaryDir prefix;
  int code = -1;
  const QString log = RunProgram(
      KVR_CMAKE_COMMAND, {"--install", KVR_BUILD_DIR, "--prefix", prefix.path()}, 60000, &code);
  ASSERT_EQ(code, 0) << log.toStdString();
  for (const char *file : {"bin/kvr", "bin/kvr-cli", "bin/kvr-sim", "share/kvr/Data/KVR104.sqlite",
                           "share/kvr/Bmps/Opened.Bmp", "share/applications/kvr.desktop",
                           "share/icons/hicolor/scalable/apps/kvr.svg"})
    EXPECT_TRUE(QFileInfo::exists(prefix.filePath(file))) << file;

  // DS89C440 is known only to the catalogue, not to the simulator's own table.
  QProcess sim;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("KVR_HOME");
  sim.setProcessEnvironment(environment);
  sim.start(prefix.filePath("bin/kvr-sim"), {"--chip", "0D1"});
  ASSERT_TRUE(sim.waitForStarted());
  sim.waitForReadyRead(5000);
  sim.terminate();
  sim.waitForFinished(5000);
  const QString said = QString::fromLocal8Bit(sim.readAllStandardError());
  EXPECT_TRUE(said.contains("DS89C440 (0D1, DALLASDS89C) seated")) << said.toStdString();
}

} // namespace
