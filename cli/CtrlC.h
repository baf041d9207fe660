#pragma once

#include <QObject>
#include <QTimer>

namespace kvr {
class Session;
}

namespace kvr::cli {

// Ctrl-C presses Stop: the running exchange ends, the programmer gets its
// closing ACK, and the run then ends with 130. A second Ctrl-C, or one while
// nothing can be stopped, ends the program at once.
class CtrlC : public QObject {
  Q_OBJECT
public:
  explicit CtrlC(Session &session);
  ~CtrlC() override;

  // True once Ctrl-C was pressed during this run.
  static bool Pressed();

  // While waiting for the user (Enter between chips) nothing runs that Stop
  // could end: Ctrl-C ends the program at once.
  class WaitingForUser {
  public:
    WaitingForUser();
    ~WaitingForUser();
    WaitingForUser(const WaitingForUser &) = delete;
    WaitingForUser &operator=(const WaitingForUser &) = delete;
  };

private:
  void Deliver();

  Session &session_;
  QTimer poll_;
  bool delivered_ = false;
};

} // namespace kvr::cli
