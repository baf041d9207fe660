#include "Autodetect.h"

#include "Link.h"
#include "PortMap.h"
#include "Session.h"
#include "Ui.h"

#include <algorithm>

namespace kvr {

QString AutodetectText::SavedPortFailed(const QString &savedPort) {
  return kAppTitle +
         QStringLiteral(" failed to detect compatible hardware on previously used Port COM") +
         savedPort + QStringLiteral(".");
}

QString AutodetectText::NoPortAnswered() {
  return kAppTitle +
         QStringLiteral(" failed to detect compatible hardware on any of the COM Ports.") +
         QStringLiteral("\r") +
         QStringLiteral("If you have not connected the KVR hardware, please do so now and select "
                        "the COM Port manually.");
}

void Autodetect::TryPort(int port) {
  c_.session.PortNumber = port;
  c_.session.PortIsOpen = ports_.PortOpen(false, false);
  if (!c_.session.PortIsOpen)
    return;
  const std::chrono::milliseconds general = c_.link.replyTimeout();
  c_.link.setReplyTimeout(std::min(general, kPresenceLimit));
  ports_.CheckPresence(false);
  c_.link.setReplyTimeout(general);
}

void Autodetect::detect(bool report, int port) {
  TryPort(port);
  if (c_.session.ProgrammerPresent) {
    c_.ui.setActivity(AutodetectText::Passed);
    c_.ui.setPanelText(Panel::SbrPort, PortPanelText(port));
    c_.session.Autodetected = true;
    c_.ports.pin(port);
    return;
  }
  if (report && !c_.session.PortIsOpen)
    c_.ui.message(AutodetectText::SavedPortFailed(QString::number(port)), MessageIcon::Exclamation);
  c_.ui.setActivity(AutodetectText::Failed);
  c_.ui.setPanelText(Panel::SbrPort, PortPanelText(port));
}

void Autodetect::MnuAutodetect_Click() {
  c_.session.ProgrammerPresent = false;
  c_.ports.refresh();
  const QList<int> numbers = c_.ports.presentNumbers();
  int n = c_.session.PortNumber;
  for (qsizetype i = 0; i < numbers.size(); ++i) {
    n = numbers[i];
    TryPort(n);
    if (i > 0)
      c_.ui.setPanelText(Panel::SbrPort, QStringLiteral("Port: COM%1").arg(n));
    if (c_.session.ProgrammerPresent || c_.session.StopRequested())
      break;
  }

  if (c_.session.StopRequested()) {
    c_.ui.setActivity(PortText::OpenInterrupted);
  } else if (c_.session.ProgrammerPresent) {
    c_.ui.setActivity(AutodetectText::Passed);
    c_.ui.setPanelText(Panel::SbrPort, PortPanelText(n));
    c_.session.Autodetected = true;
    c_.ports.pin(n);
  } else {
    c_.ui.message(AutodetectText::NoPortAnswered(), MessageIcon::Exclamation,
                  AutodetectText::Title);
    c_.ui.setActivity(AutodetectText::Failed);
    c_.ui.setPanelText(Panel::SbrPort, QStringLiteral("Port: COM%1").arg(n));
    c_.session.Autodetected = false;
  }
}

void Autodetect::AutoD_and_VerifyS() {
  MnuAutodetect_Click();
  if (c_.session.Autodetected) {
    BusyPointer blink(c_.ui);
    c_.ui.processEvents();
  }
}

} // namespace kvr
