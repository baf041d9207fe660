#pragma once

#include "OperationContext.h"
#include "PortHandling.h"

#include <chrono>

namespace kvr {

namespace AutodetectText {
QString SavedPortFailed(const QString &savedPort);
QString NoPortAnswered();
inline const QString Title = QStringLiteral("Autodetect");
inline const QString Passed = QStringLiteral("Autodetect Passed");
inline const QString Failed = QStringLiteral("Autodetect Failed");
} // namespace AutodetectText

// Finding the programmer: on one given port, or on the COM numbers that have
// a port behind them.
class Autodetect {
public:
  // A present programmer answers the presence query at once; a port silent
  // for this long is passed over. Every other exchange keeps its time-out.
  static constexpr std::chrono::milliseconds kPresenceLimit{2000};

  Autodetect(OperationContext &context, PortHandling &ports) : c_(context), ports_(ports) {}

  // Checks one port silently; with report set, a port that cannot be opened
  // is named in a warning.
  void detect(bool report, int port);
  // Looks at the ports again, then tries in order each COM number with a port
  // behind it; the first where the programmer answers wins, and is pinned.
  void MnuAutodetect_Click();
  void AutoD_and_VerifyS();

private:
  void TryPort(int port);

  OperationContext &c_;
  PortHandling &ports_;
};

} // namespace kvr
