#pragma once

#include "OperationContext.h"

#include <QByteArray>
#include <QString>

class QSqlRecord;

namespace kvr {

class PortHandling;

namespace SignatureText {
QString Passed(const QString &bytes);
QString Failed(const QString &bytes);
inline const QString IncorrectKvrModel = QStringLiteral("Incorrect KVR Model.");
inline const QString RetryQuestion =
    QStringLiteral("Would you like to retry Signature Verification?");
inline const QString Verified = QStringLiteral("Signature Verified");
} // namespace SignatureText

// The "S" command: the device's type bytes, code size and expected signature
// as the catalogue holds them. The programmer compares; the PC only reports.
QByteArray SignaturePayload(const QSqlRecord &device);

// The three signature bytes of a result ("P" or "F", a flag, then two link
// characters a byte) as shown: two blanks and two hex digits each.
QString SignatureBytesText(const QByteArray &reply);

class SignatureVerifier {
public:
  SignatureVerifier(OperationContext &context, PortHandling &ports) : c_(context), ports_(ports) {}

  // One verification with its own retries; sets or clears SignatureVerified.
  void SignatureVerification();
  // Operations > Verify Signature and the toolbar button: verification with
  // a retry question, then the controls that depend on the device.
  void MnuVerifySignature_Click();

private:
  void ShowDeviceControls();

  OperationContext &c_;
  PortHandling &ports_;
};

} // namespace kvr
