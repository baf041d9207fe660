#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QRadioButton;

namespace kvr {

class PortMap;

// The port dialog: COM1..COM16, each with the device and description behind
// it; numbers without a port are disabled. Refresh looks at the ports again.
class FrmPortSelect : public QDialog {
  Q_OBJECT
public:
  FrmPortSelect(int currentPort, PortMap &ports, QWidget *owner = nullptr);

  // True unless the user left with OK.
  bool Cancelled() const { return cancelled_; }
  // The first selected port in the order COM1..COM16; nothing when none is.
  std::optional<int> SelectedPort() const;

  // Shows the dialog modally; the chosen port, or nothing after Cancel.
  static std::optional<int> Choose(int currentPort, PortMap &ports, QWidget *owner);

private:
  struct Row {
    QRadioButton *option;
    QLabel *device;
    QLabel *description;
  };
  void ShowPorts();

  PortMap &ports_;
  QList<Row> rows_;
  bool cancelled_ = true;
};

} // namespace kvr
