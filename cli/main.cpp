#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[]) {
  QCoreApplication app(argc, argv);
  QTextStream(stderr) << "kvr-cli: no commands are available yet.\n";
  return 2;
}
