// A program that starts Qt's core and ends: the part of every kvr-cli run
// that no change of ours can save.
#include <QCoreApplication>

int main(int argc, char **argv) {
  QCoreApplication app(argc, argv);
  return 0;
}
