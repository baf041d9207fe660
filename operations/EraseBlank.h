#pragma once

#include "OperationContext.h"

#include <QString>

namespace kvr {

class SetCommands;

namespace EraseText {
inline const QString Erased = QStringLiteral("MCU successfully Erased.");
inline const QString EraseSignatureFailed =
    QStringLiteral("Erase failed due to Signature Verification failure.");
inline const QString EraseBlankFailed = QStringLiteral("Erase failed due to Blank Check failure.");
inline const QString Blank = QStringLiteral("MCU is Blank.");
inline const QString BlankSignatureFailed =
    QStringLiteral("Blank Check failed due to Signature Verification failure.");
inline const QString NotBlank = QStringLiteral("MCU is not Blank.");
} // namespace EraseText

// Chip erase (with the signature check, or without it at 12 V or 5 V), blank
// check, and the block erase of two-block devices.
class EraseBlank {
public:
  EraseBlank(OperationContext &context, SetCommands &special) : c_(context), special_(special) {}

  void EraseMCU(char command);
  void BlankCheck();

  void MnuErase12V_Click();
  void MnuErase5V_Click();
  void MnuEraseWithSV_Click();
  void MnuBlankCheck_Click();
  void MnuBlockErase_Click();
  void MnuBlockEraseFlashBlock1_Click();

private:
  struct Texts {
    QString name;
    QString passed;
    QString signatureFailed;
    QString verifyFailed;
  };
  void RunCommand(char command, const Texts &texts);
  void SelectShownBlock();

  OperationContext &c_;
  SetCommands &special_;
};

} // namespace kvr
