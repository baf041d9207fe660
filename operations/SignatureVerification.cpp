#include "SignatureVerification.h"

#include "BaseModule.h"
#include "CommandSet.h"
#include "ControlPanel.h"
#include "DatabaseHandlers.h"
#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "Frame.h"
#include "Link.h"
#include "PortHandling.h"
#include "SerialPort.h"
#include "Session.h"
#include "Ui.h"

#include <QSqlRecord>
#include <QVariant>

namespace kvr {

using namespace BaseModule;

namespace {
const QString kCr = QStringLiteral("\r");

QString Field(const QSqlRecord &record, const char *name) {
  return record.value(QLatin1String(name)).toString().trimmed();
}
} // namespace

QString SignatureText::Passed(const QString &bytes) {
  return QStringLiteral("Signature verification passed.") + kCr + kCr +
         QStringLiteral("Signature Bytes : ") + bytes;
}

QString SignatureText::Failed(const QString &bytes) {
  return QStringLiteral("Signature verification failed.") + kCr + kCr +
         QStringLiteral("Signature Bytes : ") + bytes;
}

QByteArray SignaturePayload(const QSqlRecord &device) {
  QByteArray fields;
  for (int i = 0; i < 8; ++i)
    fields.append(MakeString(Field(device, QStringLiteral("MCUType_%1").arg(i).toLatin1())));
  fields.append(D5(device.value(QStringLiteral("MCUCodeROMSize")).toInt()));
  fields.append(Field(device, "Sig_Byte_Count").toLatin1());
  for (const char *sig : {"Sig_1", "Sig_2", "Sig_3"})
    fields.append(MakeString(Field(device, sig)));
  return CommandPayload(CmdSignature, fields);
}

QString SignatureBytesText(const QByteArray &reply) {
  static const char kDigits[] = "0123456789ABCDEF";
  QString text;
  for (int byte = 0; byte < 3; ++byte) {
    text += QStringLiteral("  ");
    for (int half = 0; half < 2; ++half) {
      const qsizetype at = 2 + 2 * byte + half;
      text += QLatin1Char(kDigits[at < reply.size() ? reply[at] & 0x0F : 0]);
    }
  }
  return text;
}

void SignatureVerifier::SignatureVerification() {
  Session &s = c_.session;
  c_.panel.SetMenuOptions(true);
  c_.ui.beginBusy();
  c_.ui.setActivity(QStringLiteral("Signature Verification"));

  const int tip = Traits(s.Mcu).positioningTip;
  if (tip >= 0 && !c_.ui.confirmPositioningTip(s.Mcu.MCUIDNumber, tip)) {
    // Nothing sent; the caller ends the busy state.
    c_.ui.endBusy();
    return;
  }

  const QByteArray payload = SignaturePayload(c_.catalogue.DeviceRecord(s.Mcu.MCUIDNumber));
  c_.port.clearReceiveBuffer();
  const bool accepted = c_.link.CommandHandshake(payload);
  c_.ui.endBusy();

  bool failed = !accepted;
  if (accepted && !s.StopRequested()) {
    const bool ok = c_.link.SendAndReceive(QByteArray(), false, false, 9, true, true);
    const QString bytes = SignatureBytesText(s.LastReply);
    if (!ok) {
      failed = true;
    } else if (s.LastReply.startsWith('P')) {
      s.SignatureVerified = true;
      c_.ui.message(SignatureText::Passed(bytes), MessageIcon::Information);
    } else if (s.LastReply.startsWith('F')) {
      s.SignatureVerified = false;
      failed = true;
      c_.ui.message(SignatureText::Failed(bytes), MessageIcon::Exclamation);
      if (s.LastReply.size() > 1 && s.LastReply[1] == 'N')
        c_.ui.message(SignatureText::IncorrectKvrModel, MessageIcon::Exclamation);
    }
  }
  c_.link.SendClosingAck();

  if (s.StopRequested()) {
    c_.ui.setActivity(QStringLiteral("Signature Verification Interrupted"));
    s.SignatureVerified = false;
  } else if (failed) {
    c_.ui.setActivity(QStringLiteral("Signature Verification Failed"));
  }
  c_.panel.SetMenuOptions(false);
  s.clearStop();

  if (s.SignatureVerified) {
    if (c_.panel.SetDropDownOptions_Special())
      c_.ui.popUpMessage(QStringLiteral("Special Commands Available With The Selected MCU"));
    // A failed attempt keeps an earlier verification, but must not read as a pass.
    if (!failed)
      c_.ui.setActivity(SignatureText::Verified);
  }
}

void SignatureVerifier::MnuVerifySignature_Click() {
  Session &s = c_.session;
  if (!s.ProgrammerPresent)
    return;
  if (!s.Mcu.MCUIDNumber.isEmpty()) {
    if (!s.PortIsOpen)
      s.PortIsOpen = ports_.PortOpen(false, true);
    if (s.PortIsOpen) {
      for (;;) {
        SignatureVerification();
        if (s.SignatureVerified)
          break;
        if (c_.ui.ask(SignatureText::RetryQuestion, Buttons::YesNo, MessageIcon::Question) !=
            Answer::Yes)
          break;
      }
    }
  }
  ShowDeviceControls();
  c_.panel.SetMenuOptions(false);
  if (!s.SignatureVerified)
    for (const char *name : {"TbnErase_12v", "TbnErase_5v"})
      c_.panel.setEnabled(QLatin1String(name), true);
}

void SignatureVerifier::ShowDeviceControls() {
  const Session &s = c_.session;
  if (!s.SignatureVerified) {
    c_.panel.showSixClockBox(false);
    return;
  }
  const DeviceTraits traits = Traits(s.Mcu);
  c_.panel.showBlockList(traits.twoFlashBlocks);
  c_.panel.showSixClockBox(traits.sixClockBox);
}

} // namespace kvr
