#include "BaseModule.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[]) {
  QApplication app(argc, argv);
  QLabel window(QStringLiteral("Torvane - KVR 1.04"));
  window.setWindowTitle(QStringLiteral("Torvane - KVR 1.04"));
  window.show();
  return app.exec();
}
