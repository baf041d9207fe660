#pragma once

#include "OperationContext.h"

#include <QString>

namespace kvr {

namespace SpecialText {
inline const QString Passed = QStringLiteral("Special command passed.");
inline const QString SignatureFailed =
    QStringLiteral("Special command failed due to failure of Signature Verification.");
inline const QString CheckFailed =
    QStringLiteral("Special command failed due to failure of Check Verification.");
} // namespace SpecialText

// Special commands without data ("P" nn "S" 00000): flash block selection and
// erase, mode switches. The outcome is left in Session::SpecialCommandOk.
class SpecialSet {
public:
  explicit SpecialSet(OperationContext &context) : c_(context) {}

  // One set command; showMessages selects the pass and failure boxes.
  void SetSpecial(const QString &number, bool showMessages);
  // The set branch of the special command dispatcher: the menus busy, the
  // command, the menus idle. Block selection ("26", "27") shows no box.
  void SpecialCommand(const QString &number);
  // Selects flash block 0 ("26") or 1 ("27") of a two-block device.
  void SelectBlock(int block);

private:
  OperationContext &c_;
};

} // namespace kvr
