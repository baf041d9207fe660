#pragma once

#include <QWidget>

#include <chrono>

namespace kvr {

// The splash window shown while the program starts; Esc (or a click) ends the wait.
class FrmSplash : public QWidget {
  Q_OBJECT
public:
  FrmSplash();

  bool SplashWait() const { return splashWait_; }

  // Shows the splash and waits until Esc or the time runs out, letting events run.
  static void WaitFor(std::chrono::milliseconds limit);

signals:
  void waitEnded();

protected:
  void keyPressEvent(QKeyEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;

private:
  void EndWait();
  bool splashWait_ = true;
};

} // namespace kvr
