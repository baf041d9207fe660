#pragma once

#include <QDialog>
#include <QHash>

class QWidget;

namespace kvr {

class SpecialByteForm;

// The special byte dialog. It renders a SpecialByteForm and hands every
// click and keystroke to it: which controls show, which may change and what
// OK sends are the form's.
class FrmSpecialByte : public QDialog {
  Q_OBJECT
public:
  FrmSpecialByte(SpecialByteForm &form, QWidget *owner = nullptr);

  // Shows the dialog modally; true after OK.
  static bool Edit(SpecialByteForm &form, QWidget *owner);

private:
  void Render();

  SpecialByteForm &form_;
  QHash<QString, QWidget *> controls_;
};

} // namespace kvr
