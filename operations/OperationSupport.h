#pragma once

#include "OperationContext.h"

#include <QString>

namespace kvr {

struct SelectedMcu;
enum class WarningWindow;

namespace OperationText {
inline const QString BlockSignatureFailed =
    QStringLiteral("Command failed due to failure of Signature Verification.");
inline const QString Write = QStringLiteral("Write");
inline const QString Read = QStringLiteral("Read");
inline const QString Lock = QStringLiteral("Lock");
// After an operation's name in the status panel.
inline const QString InterruptedSuffix = QStringLiteral(" Interrupted");
inline const QString FailedSuffix = QStringLiteral(" Failed");
// A family command refused: this, then what it is for.
inline const QString OnlyFor = QStringLiteral("This operation is available only for ");
QString OnlyForFamily(const QString &family);
// The last line of a "written successfully" message.
QString BytesWritten(int bytes);
} // namespace OperationText

// The text of a warning window, lines separated by CR.
QString WarningText(WarningWindow window);

// Whether an operation on the selected device shows this warning window: the
// devices with an ISP boot block have them, while their catalogue switch is on.
bool WarningDue(OperationContext &c, WarningWindow window);

// Shows a warning window when it is due and stores the user's "Don't
// display" choice. False when the user declined.
bool WarningAccepted(OperationContext &c, WarningWindow window);

// The warnings of an "F" result, by its second character; an empty text
// shows nothing.
struct FailureTexts {
  QString signature; // "S"
  QString erase;     // "E"
  QString verify;    // "V"
};

// How an operation ends: its status text, the Stop flag cleared, the menus
// idle; after a signature failure on a chip that was never verified the two
// erase buttons stay usable, so that such a chip can still be erased.
class OperationEnd {
public:
  explicit OperationEnd(OperationContext &c) : c_(c) {}
  // "F" + "S": the warning (when given), then the menus back.
  void SignatureFailure(const QString &warning);
  // An "F" result: the warning its second character selects; "S" also
  // brings the menus back.
  void ReportFailure(const QByteArray &reply, const FailureTexts &texts);
  // "<name> Interrupted" after Stop, "<name> Failed" after a failure; the
  // running status stays otherwise.
  void Finish(const QString &name, bool failed);
  // Ends with the given status text (none when empty).
  void FinishWith(const QString &status);

private:
  OperationContext &c_;
  bool signatureFailed_ = false;
};

} // namespace kvr
