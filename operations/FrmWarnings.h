#pragma once

#include "Ui.h"

#include <QDialog>

#include <array>
#include <optional>

class QCheckBox;

namespace kvr {

// The warning windows FrmTipErease, FrmTipLock and FrmTipAuto: a text, "Don't
// display this message again", Yes and No.
class FrmTipWarning : public QDialog {
  Q_OBJECT
public:
  FrmTipWarning(WarningWindow window, QWidget *owner = nullptr);

  bool Yes() const { return yes_; }
  bool DontDisplayAgain() const;

private:
  QCheckBox *dontDisplay_ = nullptr;
  bool yes_ = false;
};

// The lock bit dialog.
class FrmSetLockBits : public QDialog {
  Q_OBJECT
public:
  FrmSetLockBits(const LockBitsSetup &setup, QWidget *owner = nullptr);

  bool Cancelled() const { return cancelled_; }
  std::array<bool, 4> Ticked() const;

  static std::optional<std::array<bool, 4>> Choose(const LockBitsSetup &setup, QWidget *owner);

private:
  std::array<QCheckBox *, 4> boxes_{};
  bool cancelled_ = true;
};

} // namespace kvr
