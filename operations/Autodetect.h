#pragma once

#include "OperationContext.h"
#include "PortHandling.h"

namespace kvr {

namespace AutodetectText {
QString SavedPortFailed(const QString &savedPort);
QString NoPortAnswered();
inline const QString Title = QStringLiteral("Autodetect");
inline const QString Passed = QStringLiteral("Autodetect Passed");
inline const QString Failed = QStringLiteral("Autodetect Failed");
} // namespace AutodetectText

// Finding the programmer: on one given port, or on COM1..COM16.
class Autodetect {
public:
  Autodetect(OperationContext &context, PortHandling &ports) : c_(context), ports_(ports) {}

  // Checks one port silently; with report set, a port that cannot be opened
  // is named in a warning.
  void detect(bool report, int port);
  // Tries COM1..COM16 in order; the first port where the programmer answers wins.
  void MnuAutodetect_Click();
  void AutoD_and_VerifyS();

private:
  void TryPort(int port);

  OperationContext &c_;
  PortHandling &ports_;
};

} // namespace kvr
