#include <QCoreApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Every test binary has an application object (the exchange waits in an
// event loop) and never touches the user's real settings.
int main(int argc, char **argv) {
  QStandardPaths::setTestModeEnabled(true);
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
