#include "EraseBlank.h"

#include "BaseModule.h"
#include "CommandSet.h"
#include "ControlPanel.h"
#include "FamilyCodes.h"
#include "Globals.h"
#include "Link.h"
#include "OperationSupport.h"
#include "SerialPort.h"
#include "Session.h"
#include "SetCommands.h"
#include "Ui.h"

namespace kvr {

using namespace BaseModule;

void EraseBlank::RunCommand(char command, const Texts &texts) {
  Session &s = c_.session;
  OperationEnd end(c_);
  {
    BusyPointer busy(c_.ui);
    c_.ui.setActivity(texts.name);
    c_.port.clearReceiveBuffer();
  }
  bool failed = !c_.link.CommandHandshake(CommandPayload(command));
  if (!failed && !s.StopRequested()) {
    if (!c_.link.SendAndReceive(QByteArray(), false, false, 6, true, true)) {
      failed = true;
    } else if (s.LastReply.startsWith('P')) {
      c_.ui.message(texts.passed, MessageIcon::Information);
    } else if (s.LastReply.startsWith('F')) {
      failed = true;
      end.ReportFailure(s.LastReply, {texts.signatureFailed, {}, texts.verifyFailed});
    }
  }
  c_.link.SendClosingAck();
  end.Finish(texts.name, failed);
}

void EraseBlank::EraseMCU(char command) {
  if (!WarningAccepted(c_, WarningWindow::Erase))
    return;
  c_.panel.SetMenuOptions(true);
  RunCommand(command, {QStringLiteral("Erase"), EraseText::Erased, EraseText::EraseSignatureFailed,
                       EraseText::EraseBlankFailed});
}

void EraseBlank::BlankCheck() {
  c_.panel.SetMenuOptions(true);
  RunCommand(CmdBlankCheck, {QStringLiteral("Blank Check"), EraseText::Blank,
                             EraseText::BlankSignatureFailed, EraseText::NotBlank});
}

void EraseBlank::MnuErase12V_Click() {
  if (c_.session.ProgrammerPresent)
    EraseMCU(CmdErase12V);
}

void EraseBlank::MnuErase5V_Click() {
  if (c_.session.ProgrammerPresent)
    EraseMCU(CmdErase5V);
}

void EraseBlank::MnuEraseWithSV_Click() {
  if (c_.panel.blockListShown()) {
    special_.SelectBlock(0);
    c_.session.Mcu.MCUCodeROMSize = SixtyFourKB;
  }
  EraseMCU(CmdEraseWithSignature);
}

void EraseBlank::SelectShownBlock() { special_.SelectBlock(c_.panel.currentBlock()); }

void EraseBlank::MnuBlankCheck_Click() {
  const bool twoBlocks = c_.panel.blockListShown();
  if (twoBlocks)
    SelectShownBlock();
  c_.port.clearReceiveBuffer();
  if (twoBlocks && !c_.session.SpecialCommandOk)
    c_.ui.message(OperationText::BlockSignatureFailed, MessageIcon::Exclamation);
  else
    BlankCheck();
}

void EraseBlank::MnuBlockErase_Click() {
  SelectShownBlock();
  if (c_.session.SpecialCommandOk)
    special_.SpecialCommand(QStringLiteral("28"));
  else
    c_.ui.message(OperationText::BlockSignatureFailed, MessageIcon::Exclamation);
}

void EraseBlank::MnuBlockEraseFlashBlock1_Click() {
  if (c_.session.Mcu.FamilyCode != SST89x5xxRx)
    c_.ui.message(OperationText::OnlyForFamily(SST89x5xxRx), MessageIcon::Exclamation);
  else
    special_.SpecialCommand(QStringLiteral("35"));
}

} // namespace kvr
