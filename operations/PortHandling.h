#pragma once

#include "OperationContext.h"

#include <QString>

namespace kvr {

namespace PortText {
QString InUse(int port);
QString RetryFirst(int port, const QString &detail = QString());
QString RetryLater(int port);
QString NotAttached(int port);
QString NoPortBehind(int port);
QString HardwareDetected(int port, const QString &version);
inline const QString PresenceFailed = QStringLiteral("Presence Check Failed");
inline const QString OpenInterrupted = QStringLiteral("Port Open Interrupted");
inline const QString IncorrectModel = QStringLiteral("Incorrect model!");
inline const QString Identification = QStringLiteral("KVR1.04");
} // namespace PortText

// Opening the programmer's port and asking the programmer who it is.
class PortHandling {
public:
  explicit PortHandling(OperationContext &context) : c_(context) {}

  // Opens COM<PortNumber> with the line settings. Failures are reported when
  // asked, with a Yes/No retry when offered; Stop interrupts the opening.
  bool PortOpen(bool offerRetry, bool reportFailure);
  void PortClose();
  // Asks the programmer for its identification, busy meanwhile; sets
  // ProgrammerPresent when it is "KVR1.04", IncorrectModel for any other.
  void CheckPresence(bool showMessages);
  // Select Device > Serial Port > Select.
  void MnuSelect_Click();

private:
  void QueryPresence(bool showMessages);
  QString FailureDetail() const;
  bool EndOpening(bool ok);

  OperationContext &c_;
};

// "Port : COMn", as the status bar shows the port.
QString PortPanelText(int port);

} // namespace kvr
