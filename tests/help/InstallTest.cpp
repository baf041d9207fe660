// cmake --install into a temporary prefix: the installed programs find the
// catalogue in prefix/share/kvr.
#include "QtPrinters.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Install, ProgramsFindTheInstalledCatalogue) {
  QTemporaryDir prefix;
  QProcess install;
  install.setProcessChannelMode(QProcess::MergedChannels);
  install.start(KVR_CMAKE_COMMAND, {"--install", KVR_BUILD_DIR, "--prefix", prefix.path()});
  ASSERT_TRUE(install.waitForFinished(60000));
  ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
  for (const char *file : {"bin/kvr", "bin/kvr-cli", "bin/kvr-sim", "share/kvr/Data/KVR104.sqlite",
                           "share/kvr/Bmps/Opened.Bmp", "share/applications/kvr.desktop",
                           "share/icons/hicolor/scalable/apps/kvr.svg"})
    EXPECT_TRUE(QFileInfo::exists(prefix.filePath(file))) << file;

  // DS89C440 is known only to the catalogue, not to the simulator's own table.
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("KVR_HOME");
  QProcess sim;
  sim.setProcessEnvironment(environment);
  sim.setWorkingDirectory("/");
  sim.start(prefix.filePath("bin/kvr-sim"), {"--chip", "0D1"});
  ASSERT_TRUE(sim.waitForStarted());
  sim.waitForReadyRead(5000);
  sim.terminate();
  sim.waitForFinished(5000);
  const QString said = QString::fromLocal8Bit(sim.readAllStandardError());
  EXPECT_TRUE(said.contains("DS89C440 (0D1, DALLASDS89C) seated")) << said.toStdString();
}

} // namespace
