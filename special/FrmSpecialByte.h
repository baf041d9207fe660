#pragma once

#include <QDialog>
#include <QHash>

#include <functional>

class QWidget;

namespace kvr {

class SpecialByteForm;

// The special byte dialog. It renders a SpecialByteForm and hands every
// click and keystroke to it: which controls show, which may change and what
// OK sends are the form's.
class FrmSpecialByte : public QDialog {
  Q_OBJECT
public:
  // OK closes the dialog when takeOk agrees (always when none is given).
  FrmSpecialByte(SpecialByteForm &form, QWidget *owner = nullptr,
                 std::function<bool()> takeOk = {});

  // Shows the dialog modally; true after a taken OK.
  static bool Edit(SpecialByteForm &form, QWidget *owner, std::function<bool()> takeOk = {});

private:
  void Render();

  SpecialByteForm &form_;
  std::function<bool()> takeOk_;
  QHash<QString, QWidget *> controls_;
};

} // namespace kvr
