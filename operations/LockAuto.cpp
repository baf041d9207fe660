#include "LockAuto.h"

#include "BaseModule.h"
#include "CommandSet.h"
#include "ControlPanel.h"
#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "Link.h"
#include "OperationSupport.h"
#include "SerialPort.h"
#include "Session.h"
#include "Ui.h"
#include "WriteRead.h"

namespace kvr {

using namespace BaseModule;

LockBitsSetup LockBitsDialogSetup(const SelectedMcu &mcu) {
  const bool sstF = mcu.FamilyCode == SSTFXX;
  const bool oscillatorGain = Traits(mcu).halfOscillatorGain;
  LockBitsSetup setup;
  setup.captions = {sstF ? QStringLiteral("Set Hard Lock") : QStringLiteral("Set LB1 Lock"),
                    sstF ? QStringLiteral("Set Soft Lock") : QStringLiteral("Set LB2 Lock"),
                    QStringLiteral("Set LB3 Lock"),
                    oscillatorGain ? QStringLiteral("1/2 Oscillator Gain")
                                   : QStringLiteral("Lock Bit 4")};
  setup.enabled = {true, mcu.MCULockBits >= 2, mcu.MCULockBits >= 3, oscillatorGain};
  return setup;
}

bool LockBitsChoiceValid(const std::array<bool, 4> &ticked) {
  return ticked[0] || ticked[1] || ticked[2];
}

bool LockAuto::LockMCU(bool showMessages) {
  Session &s = c_.session;
  if (!WarningAccepted(c_, WarningWindow::Lock))
    return false;

  OperationEnd end(c_);
  c_.panel.SetMenuOptions(true);
  bool accepted = false;
  {
    BusyPointer busy(c_.ui);
    c_.ui.setActivity(OperationText::Lock);
    c_.port.clearReceiveBuffer();
    QByteArray bits;
    for (const QString &bit : s.LockBitSelection)
      bits.append(bit.toLatin1());
    accepted = c_.link.CommandHandshake(CommandPayload(CmdLock, bits), 3);
  }

  bool result = false;
  bool failed = !accepted;
  if (accepted && !s.StopRequested()) {
    if (!c_.link.SendAndReceive(QByteArray(), false, false, 4, true, true)) {
      failed = true;
    } else if (s.LastReply.startsWith('P')) {
      result = true;
      const char check = s.LastReply.size() > 1 ? s.LastReply[1] : '\0';
      const QString *text = nullptr;
      if (Traits(s.Mcu).lockedCodeReadsZero)
        text = &LockText::PassedZeroes;
      else if (check == 'B')
        text = &LockText::PassedBlank;
      else if (check == 'N')
        text = &LockText::PassedNotBlank;
      if (text && showMessages)
        c_.ui.message(*text, MessageIcon::Information);
    } else if (s.LastReply.startsWith('F')) {
      failed = true;
      end.ReportFailure(s.LastReply, {LockText::SignatureFailed, {}, LockText::VerifyFailed});
    }
  }
  c_.link.SendClosingAck();
  end.Finish(OperationText::Lock, failed);
  return result && !failed;
}

void LockAuto::MnuLock_Click() {
  const std::optional<std::array<bool, 4>> ticked =
      c_.ui.chooseLockBits(LockBitsDialogSetup(c_.session.Mcu));
  if (!ticked || !LockBitsChoiceValid(*ticked))
    return;
  for (int i = 0; i < 4; ++i)
    c_.session.LockBitSelection[i] = (*ticked)[i] ? QStringLiteral("1") : QStringLiteral("0");
  LockMCU(true);
}

AutoOutcome LockAuto::MnuAuto_Click() {
  Session &s = c_.session;
  c_.port.clearReceiveBuffer();
  if (Traits(s.Mcu).twoFlashBlocks && c_.panel.blockListShown() &&
      !writeRead_.SelectShownBlock(true))
    return AutoOutcome::Declined;
  if (!writeRead_.WriteMCU(false))
    return AutoOutcome::Failed;
  const bool thirdBit = s.Mcu.MCULockBits == 3 || s.Mcu.MCULockBits == 4;
  s.LockBitSelection = {QStringLiteral("1"), QStringLiteral("1"),
                        thirdBit ? QStringLiteral("1") : QStringLiteral("0"), QStringLiteral("0")};
  if (!LockMCU(false))
    return AutoOutcome::Failed;
  const bool sst = s.Mcu.FamilyCode == SSTFXX || s.Mcu.FamilyCode == SSTCXX;
  c_.ui.message(sst ? LockText::AutoDoneSst : LockText::AutoDone, MessageIcon::Information);
  return AutoOutcome::Passed;
}

} // namespace kvr
