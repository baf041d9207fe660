#include "OperationSupport.h"

#include "ControlPanel.h"
#include "DatabaseHandlers.h"
#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "Session.h"
#include "Ui.h"

namespace kvr {

using namespace BaseModule;

QString OperationText::OnlyForFamily(const QString &family) {
  return OnlyFor + family + QStringLiteral(" range of MCUs.");
}

QString OperationText::BytesWritten(int bytes) {
  return QStringLiteral("Number of bytes written : ") + QString::number(bytes);
}

bool WarningDue(OperationContext &c, WarningWindow window) {
  return Traits(c.session.Mcu).bootBlockWarnings &&
         c.catalogue.StartTipEnabled(static_cast<StartTipRow>(static_cast<int>(window)));
}

bool WarningAccepted(OperationContext &c, WarningWindow window) {
  const auto row = static_cast<StartTipRow>(static_cast<int>(window));
  if (!WarningDue(c, window))
    return true;
  bool dontShowAgain = false;
  const bool yes = c.ui.showWarningWindow(window, dontShowAgain);
  c.catalogue.SetStartTip(row, !dontShowAgain);
  return yes;
}

QString WarningText(WarningWindow window) {
  switch (window) {
  case WarningWindow::Erase:
    return QStringLiteral("ChipErase will Erase Block#1 also.\rBlock#1 contains the ISP Boot Hex "
                          "code.\rTo Enable ISP after ChipErase,\rWrite file - "
                          "philips_ice_block_1.hex,\rin folder  - ..\\Program "
                          "Files\\Torvane\\Kvr 1.04\\ into Block#1.\n\rCONTINUE? (Y/N)");
  case WarningWindow::Lock:
    return QStringLiteral(
        "Have you entered the Serial no. && length?\rElse, your user code can still be Read in "
        "ISP.\rPlease enter the Serial no., in Hex, at 1F01H-1F1FH in Block#1\rits length, in "
        "Hex, at 1F00H in Block#1.\rAlso, keep the SoftICE flag byte=00H, at 1F20H in Block#1, "
        "to enable ISP.\rIf SoftICE flag byte=FFH, then ISP will be disabled.\rCONTINUE? (Y/N)");
  case WarningWindow::Auto:
    return QStringLiteral("Block#1 will be erased.\rBlock#1 contains the ISP Boot Hex "
                          "code.\rTo Enable ISP after ChipErase,\rWrite file - "
                          "philips_ice_block_1.hex,\rin folder  - ..\\Program "
                          "Files\\Torvane\\Kvr 1.04\\ into Block#1.\rCONTINUE? (Y/N)");
  }
  return QString();
}

void OperationEnd::SignatureFailure(const QString &warning) {
  if (!warning.isEmpty())
    c_.ui.message(warning, MessageIcon::Exclamation);
  c_.panel.SetMenuOptions(false);
  signatureFailed_ = true;
}

void OperationEnd::ReportFailure(const QByteArray &reply, const FailureTexts &texts) {
  const char reason = reply.size() > 1 ? reply[1] : '\0';
  const QString *warning = nullptr;
  if (reason == 'S') {
    SignatureFailure(texts.signature);
  } else if (reason == 'E') {
    warning = &texts.erase;
  } else if (reason == 'V') {
    warning = &texts.verify;
  }
  if (warning && !warning->isEmpty())
    c_.ui.message(*warning, MessageIcon::Exclamation);
}

void OperationEnd::Finish(const QString &name, bool failed) {
  if (c_.session.StopRequested())
    FinishWith(name + OperationText::InterruptedSuffix);
  else if (failed)
    FinishWith(name + OperationText::FailedSuffix);
  else
    FinishWith(QString());
}

void OperationEnd::FinishWith(const QString &status) {
  if (!status.isEmpty())
    c_.ui.setActivity(status);
  c_.session.clearStop();
  c_.panel.SetMenuOptions(false);
  if (signatureFailed_ && !c_.session.SignatureVerified)
    for (const char *button : {"TbnErase_12v", "TbnErase_5v"})
      c_.panel.setEnabled(QLatin1String(button), true);
}

} // namespace kvr
