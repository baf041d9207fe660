#pragma once

#include <QDialog>

class QCheckBox;

namespace kvr {

// The tip shown at start and at exit: power the programmer before seating the chip.
class FrmTip : public QDialog {
  Q_OBJECT
public:
  explicit FrmTip(QWidget *owner = nullptr);

  bool DontDisplayAgain() const;

  // Shows the tip modally; true when "Don't display this message again" was ticked.
  static bool Show(QWidget *owner);

private:
  QCheckBox *dontDisplay_ = nullptr;
};

} // namespace kvr
