#include "SpecialSet.h"

#include "BaseModule.h"
#include "CommandSet.h"
#include "ControlPanel.h"
#include "Link.h"
#include "OperationSupport.h"
#include "SerialPort.h"
#include "Session.h"
#include "Ui.h"

namespace kvr {

using namespace BaseModule;

void SpecialSet::SetSpecial(const QString &number, bool showMessages) {
  Session &s = c_.session;
  OperationEnd end(c_);
  c_.port.clearReceiveBuffer();
  const QByteArray fields = number.trimmed().toLatin1() + SpecialModeSet + D5(0);
  const bool accepted = c_.link.CommandHandshake(CommandPayload(CmdSpecial, fields));

  bool failed = !accepted;
  if (accepted && !s.StopRequested()) {
    if (!c_.link.SendAndReceive(QByteArray(), false, false, 3, true, true)) {
      failed = true;
    } else if (s.LastReply.startsWith('P')) {
      if (showMessages) {
        c_.ui.message(SpecialText::Passed, MessageIcon::Information);
        c_.ui.setActivity(SpecialText::PassedStatus);
      }
    } else if (s.LastReply.startsWith('F')) {
      failed = true;
      end.ReportFailure(
          s.LastReply,
          showMessages ? FailureTexts{SpecialText::SignatureFailed, {}, SpecialText::CheckFailed}
                       : FailureTexts{});
    }
  }
  c_.link.SendClosingAck();

  if (s.StopRequested()) {
    s.SpecialCommandOk = false;
    end.FinishWith(SpecialText::InterruptedStatus);
  } else {
    s.SpecialCommandOk = !failed;
    end.FinishWith(failed ? SpecialText::FailedStatus : SpecialText::Successful);
  }
}

void SpecialSet::SpecialCommand(const QString &number) {
  c_.panel.SetMenuOptions(true);
  BusyPointer busy(c_.ui);
  c_.ui.setActivity(SpecialText::Running);
  const bool quiet = number == QLatin1String("26") || number == QLatin1String("27");
  // Ends with Stop cleared and the menus idle.
  SetSpecial(number, !quiet);
}

void SpecialSet::SelectBlock(int block) {
  SpecialCommand(block == 0 ? QStringLiteral("26") : QStringLiteral("27"));
}

} // namespace kvr
