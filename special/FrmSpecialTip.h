#pragma once

#include <QDialog>

class QComboBox;
class QLabel;

namespace kvr {

// How to seat the small LPC chips, which leave socket rows free. Continue
// goes on with the verification, Exit gives it up.
class FrmSpecialTip : public QDialog {
  Q_OBJECT
public:
  // chip: the list item of the chip in the socket, or -1 for none yet.
  explicit FrmSpecialTip(int chip, QWidget *owner = nullptr);

  bool Proceed() const { return proceed_; }
  QString TipText() const;

  static bool Ask(int chip, QWidget *owner);

private:
  void ShowTipFor(int item);

  QComboBox *mcu_ = nullptr;
  QLabel *tip_ = nullptr;
  bool proceed_ = false;
};

// Seating instructions of list item 0 (87LPC760) and 1 (87LPC761).
QString SeatingText(int item);

} // namespace kvr
