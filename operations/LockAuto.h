#pragma once

#include "OperationContext.h"

#include <QString>

#include <array>

namespace kvr {

class WriteRead;
struct LockBitsSetup;
struct SelectedMcu;

namespace LockText {
inline const QString NoBitChosen = QStringLiteral("You must program at least one Lock Bit.");
inline const QString PassedBlank = QStringLiteral("Lock Passed.\rBlank Check verified.");
inline const QString PassedNotBlank = QStringLiteral("Lock Passed.\rBlank Check failed.");
inline const QString PassedZeroes = QStringLiteral("Lock Passed.\rFlash=00 verified.");
inline const QString SignatureFailed =
    QStringLiteral("Lock failed due to failure of Signature Verification.");
inline const QString VerifyFailed =
    QStringLiteral("Lock failed due to failure of Lock Verification.");
inline const QString AutoDoneSst = QStringLiteral(
    "Block 0 Erased, file successfully Written, Lock passed and Blank Check verified.");
inline const QString AutoDone =
    QStringLiteral("MCU Erased, file successfully Written, Lock passed and Blank Check verified.");
} // namespace LockText

// How the lock bit dialog opens for a device: captions and enabled boxes.
LockBitsSetup LockBitsDialogSetup(const SelectedMcu &mcu);
// The dialog's OK: at least one of the first three boxes must be ticked.
bool LockBitsChoiceValid(const std::array<bool, 4> &ticked);

// How an Auto ended: declined at its warning window before anything was
// sent, or through to its end or its first failed step.
enum class AutoOutcome { Declined, Passed, Failed };

// Programming the lock bits, and Auto: write, then lock.
class LockAuto {
public:
  LockAuto(OperationContext &context, WriteRead &writeRead) : c_(context), writeRead_(writeRead) {}

  bool LockMCU(bool showMessages);
  void MnuLock_Click();
  AutoOutcome MnuAuto_Click();

private:
  OperationContext &c_;
  WriteRead &writeRead_;
};

} // namespace kvr
