#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  QTextStream(stderr) << "kvr-sim: the programmer simulator is not built yet.\n";
  return 2;
}
