#include "FrmSplash.h"

#include "Ui.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace kvr {

FrmSplash::FrmSplash() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash1"));
  setCursor(Qt::WaitCursor);
  setStyleSheet(QStringLiteral("background: #10305a; color: white;"));
  auto *title = new QLabel(QStringLiteral("TORVANE"), this);
  title->setStyleSheet(QStringLiteral("font-size: 28px; font-weight: bold;"));
  auto *product = new QLabel(kAppTitle + QStringLiteral(" Flash MCU Programmer"), this);
  product->setStyleSheet(QStringLiteral("font-size: 16px;"));
  auto *hint = new QLabel(QStringLiteral("Press Esc to continue"), this);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(40, 30, 40, 30);
  for (QLabel *label : {title, product, hint}) {
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
  }
  setFocusPolicy(Qt::StrongFocus);
}

void FrmSplash::EndWait() {
  splashWait_ = false;
  emit waitEnded();
}

void FrmSplash::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Escape)
    EndWait();
  else
    QWidget::keyPressEvent(event);
}

void FrmSplash::mousePressEvent(QMouseEvent *) { EndWait(); }

void FrmSplash::WaitFor(std::chrono::milliseconds limit) {
  FrmSplash splash;
  splash.adjustSize();
  splash.show();
  splash.activateWindow();
  splash.setFocus();
  QEventLoop loop;
  QTimer::singleShot(limit, &loop, &QEventLoop::quit);
  connect(&splash, &FrmSplash::waitEnded, &loop, &QEventLoop::quit);
  loop.exec();
}

} // namespace kvr
