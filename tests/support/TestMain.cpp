#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <memory>

// Every test binary has an application object (the exchange waits in an
// event loop) and never touches the user's real settings or serial ports:
// the programs it starts, too, see only the ports a test lists.
int main(int argc, char **argv) {
  QStandardPaths::setTestModeEnabled(true);
  qputenv("KVR_SERIAL_PORTS", "/dev/null");
  // Window tests need a QApplication; the rest run on a plain core application.
  std::unique_ptr<QCoreApplication> app;
  if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    app = std::make_unique<QApplication>(argc, argv);
  else
    app = std::make_unique<QCoreApplication>(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
