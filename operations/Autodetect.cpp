#include "Autodetect.h"

#include "ControlPanel.h"
#include "PortMap.h"
#include "Session.h"
#include "Ui.h"

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
  if (c_.session.PortIsOpen)
    ports_.CheckPresence(false);
}

void Autodetect::detect(bool report, int port) {
  c_.panel.setEnabled(QStringLiteral("TbnStop"), true);
  TryPort(port);
  if (c_.session.ProgrammerPresent) {
    c_.ui.setActivity(AutodetectText::Passed);
    c_.ui.setPanelText(Panel::SbrPort, PortPanelText(port));
    c_.session.Autodetected = true;
    return;
  }
  if (report && !c_.session.PortIsOpen)
    c_.ui.message(AutodetectText::SavedPortFailed(QString::number(port)), MessageIcon::Exclamation);
  c_.ui.setActivity(AutodetectText::Failed);
  c_.ui.setPanelText(Panel::SbrPort, PortPanelText(port));
}

void Autodetect::MnuAutodetect_Click() {
  c_.panel.setEnabled(QStringLiteral("TbnStop"), true);
  c_.session.ProgrammerPresent = false;
  TryPort(PortMap::kFirstPort);
  if (c_.session.StopRequested()) {
    c_.ui.setActivity(PortText::OpenInterrupted);
    return;
  }
  int n = PortMap::kFirstPort;
  while (!c_.session.ProgrammerPresent && n < PortMap::kLastPort && !c_.session.StopRequested()) {
    ++n;
    c_.session.PortNumber = n;
    c_.session.PortIsOpen = ports_.PortOpen(false, false);
    c_.ui.setPanelText(Panel::SbrPort, QStringLiteral("Port: COM%1").arg(n));
    if (c_.session.PortIsOpen)
      ports_.CheckPresence(false);
  }

  if (c_.session.StopRequested()) {
    c_.ui.setActivity(PortText::OpenInterrupted);
  } else if (c_.session.ProgrammerPresent) {
    c_.ui.setActivity(AutodetectText::Passed);
    c_.ui.setPanelText(Panel::SbrPort, PortPanelText(n));
    c_.session.Autodetected = true;
  } else {
    c_.ui.message(AutodetectText::NoPortAnswered(), MessageIcon::Exclamation,
                  AutodetectText::Title);
    c_.ui.setActivity(AutodetectText::Failed);
    c_.ui.setPanelText(Panel::SbrPort, QStringLiteral("Port: COM%1").arg(PortMap::kLastPort));
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
