#include "PortHandling.h"

#include "BaseModule.h"
#include "CommandSet.h"
#include "ControlPanel.h"
#include "Link.h"
#include "PortMap.h"
#include "SerialPort.h"
#include "Session.h"
#include "Ui.h"

namespace kvr {

using namespace BaseModule;

namespace {
const QString kCr = QStringLiteral("\r");

// Leading and trailing blanks only, as the identification is padded.
QByteArray TrimBlanks(const QByteArray &text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && text[begin] == ' ')
    ++begin;
  while (end > begin && text[end - 1] == ' ')
    --end;
  return text.mid(begin, end - begin);
}
} // namespace

QString PortText::InUse(int port) {
  return QStringLiteral("The COM%1 Port is already open and may be in use by another application.")
      .arg(port);
}

QString PortText::RetryFirst(int port, const QString &detail) {
  return InUse(port) + detail + kCr + kCr + QStringLiteral("Should ") + kAppTitle +
         QStringLiteral(" try to close it and open again?");
}

QString PortText::RetryLater(int port) {
  return QStringLiteral("KVR could not close and reopen the COM%1 port.").arg(port) + kCr +
         QStringLiteral("It may be in use by an active peripheral device (like the Mouse).") + kCr +
         kCr + QStringLiteral("Should ") + kAppTitle +
         QStringLiteral(" try to close it and open again?");
}

QString PortText::NotAttached(int port) {
  return kAppTitle + QStringLiteral(" Unit not attached to COM%1.").arg(port);
}

QString PortText::HardwareDetected(int port, const QString &version) {
  return QStringLiteral("Hardware detected on COM%1!").arg(port) + kCr + kCr +
         QStringLiteral("Welcome to TORVANE Flash MCU Programmer") + kCr +
         QStringLiteral("Version : ") + version;
}

QString PortText::NoPortBehind(int port) {
  return QStringLiteral("No serial port is behind COM%1 now.").arg(port);
}

QString PortPanelText(int port) { return QStringLiteral("Port : COM%1").arg(port); }

QString PortHandling::FailureDetail() const {
  const QString path = c_.port.portName();
  if (path.isEmpty())
    return kCr + kCr + PortText::NoPortBehind(c_.session.PortNumber);
  switch (c_.port.openFailure()) {
  case OpenFailure::NoPermission:
    return kCr + kCr +
           QStringLiteral("You may not use %1: add your user to the dialout group "
                          "(sudo usermod -aG dialout $USER), then log in again.")
               .arg(path);
  case OpenFailure::NoSuchDevice:
    return kCr + kCr + QStringLiteral("There is no device %1.").arg(path);
  case OpenFailure::Other:
    return kCr + kCr + QStringLiteral("%1: %2").arg(path, c_.port.errorString());
  case OpenFailure::InUse:
  case OpenFailure::None: break;
  }
  return QString();
}

bool PortHandling::EndOpening(bool ok) {
  c_.panel.SetMenuOptions(false);
  c_.ui.endBusy();
  return ok;
}

bool PortHandling::PortOpen(bool offerRetry, bool reportFailure) {
  const int n = c_.session.PortNumber;
  c_.panel.SetMenuOptions(true);
  c_.ui.beginBusy();

  if (c_.port.isOpen())
    c_.port.close();
  c_.port.setPortName(c_.ports.pathFor(n));
  c_.ui.setPanelText(Panel::SbrPort, PortPanelText(n));

  bool failed = c_.port.isOpen();
  bool firstFailure = true;
  for (;;) {
    if (!failed) {
      // Stop pressed while the port opens leads to a second opening of the
      // open port, which fails, and so to the interruption below.
      do {
        c_.port.setSettings(kPortSettings);
        if (!c_.port.open()) {
          failed = true;
          break;
        }
        c_.ui.processEvents();
      } while (c_.session.StopRequested());
      if (!failed) {
        c_.ui.setActivity(QStringLiteral("Port Opened"));
        c_.session.clearStop();
        return EndOpening(true);
      }
    }

    if (c_.session.StopRequested()) {
      c_.ui.setActivity(PortText::OpenInterrupted);
      return EndOpening(false);
    }
    c_.ui.setActivity(QStringLiteral("Port Open Failed"));
    if (!reportFailure)
      return EndOpening(false);
    if (!offerRetry) {
      c_.ui.message(PortText::InUse(n) + FailureDetail(), MessageIcon::Exclamation);
      return EndOpening(false);
    }
    const QString question =
        firstFailure ? PortText::RetryFirst(n, FailureDetail()) : PortText::RetryLater(n);
    firstFailure = false;
    if (c_.ui.ask(question, Buttons::YesNo, MessageIcon::Exclamation) != Answer::Yes)
      return EndOpening(false);
    if (c_.port.isOpen())
      c_.port.close();
    failed = false;
  }
}

void PortHandling::PortClose() {
  if (c_.port.isOpen())
    c_.port.close();
}

void PortHandling::CheckPresence(bool showMessages) {
  // Busy for the whole wait: no other port may be chosen meanwhile, and Stop
  // acts only while the check runs.
  c_.panel.SetMenuOptions(true);
  QueryPresence(showMessages);
  c_.panel.SetMenuOptions(false);
}

void PortHandling::QueryPresence(bool showMessages) {
  const int n = c_.session.PortNumber;
  const auto failed = [&] {
    if (showMessages)
      c_.ui.message(PortText::NotAttached(n), MessageIcon::Exclamation);
    c_.ui.setActivity(PortText::PresenceFailed);
  };

  c_.ui.beginBusy();
  c_.ui.setActivity(QStringLiteral("Checking Presence"));
  c_.port.clearReceiveBuffer();
  c_.session.ProgrammerPresent = false;
  c_.session.IncorrectModel = false;

  const bool accepted =
      c_.link.SendAndReceive(CommandPayload(CmdPresence), false, true, 2, showMessages, true);
  c_.ui.endBusy();
  if (!accepted)
    return failed();
  if (!c_.session.LastReply.startsWith(ACK))
    return;

  if (!c_.link.SendAndReceive(QByteArray(), false, false, 11, showMessages, true))
    return failed();

  const QByteArray version = c_.session.LastReply;
  if (TrimBlanks(version) == PortText::Identification.toLatin1()) {
    c_.ui.message(PortText::HardwareDetected(n, QString::fromLatin1(version)),
                  MessageIcon::Information);
    c_.session.ProgrammerPresent = true;
    c_.ui.setActivity(QStringLiteral("Presence Check Passed"));
  } else {
    c_.ui.message(PortText::IncorrectModel, MessageIcon::Information);
    // The device commands stay off (ControlPanel); the rest of the window
    // stays usable, so that another port can be chosen.
    c_.session.IncorrectModel = true;
    c_.ui.setActivity(PortText::PresenceFailed);
  }
  c_.ui.setPanelText(Panel::SbrPort, PortPanelText(n));
}

void PortHandling::MnuSelect_Click() {
  c_.session.clearStop();
  c_.ports.refresh();
  const std::optional<int> choice = c_.ui.choosePort(c_.session.PortNumber, c_.ports);
  if (!choice)
    return;
  PortClose();
  if (*choice >= PortMap::kFirstPort && *choice <= PortMap::kLastPort)
    c_.session.PortNumber = *choice;
  c_.ui.setPanelText(Panel::SbrPort, PortPanelText(c_.session.PortNumber));

  c_.session.PortIsOpen = PortOpen(true, true);
  c_.panel.SetMenuOptions(false);
  if (c_.session.PortIsOpen)
    CheckPresence(true);
  if (c_.session.ProgrammerPresent)
    c_.ports.pin(c_.session.PortNumber);
}

} // namespace kvr
