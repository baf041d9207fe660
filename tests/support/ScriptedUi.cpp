#include "ScriptedUi.h"

#include <stdexcept>

namespace kvr::test {

void ScriptedUi::showMessage(const QString &text, MessageIcon icon, const QString &title) {
  messages.append({text, icon, title, false});
}

Answer ScriptedUi::ask(const QString &text, Buttons, MessageIcon icon, const QString &title) {
  messages.append({text, icon, title, true});
  if (answers.empty())
    throw std::runtime_error("unexpected question: " + text.toStdString());
  const Answer answer = answers.front();
  answers.pop_front();
  return answer;
}

std::optional<int> ScriptedUi::choosePort(int currentPort, PortMap &) {
  dialogsShown.append(QStringLiteral("FrmPortSelect COM%1").arg(currentPort));
  if (portChoices.empty())
    throw std::runtime_error("unexpected port dialog");
  const std::optional<int> choice = portChoices.front();
  portChoices.pop_front();
  return choice;
}

bool ScriptedUi::confirmPositioningTip(const QString &deviceId, int picture) {
  dialogsShown.append(QStringLiteral("FrmSpecialTip %1 %2").arg(deviceId).arg(picture));
  if (tipConfirmations.empty())
    throw std::runtime_error("unexpected positioning tip");
  const bool confirmed = tipConfirmations.front();
  tipConfirmations.pop_front();
  return confirmed;
}

bool ScriptedUi::showStartTip() {
  dialogsShown.append(QStringLiteral("FrmTip"));
  if (startTipAnswers.empty())
    return false;
  const bool dontShowAgain = startTipAnswers.front();
  startTipAnswers.pop_front();
  return dontShowAgain;
}

bool ScriptedUi::showWarningWindow(WarningWindow window, bool &dontShowAgain) {
  dialogsShown.append(QStringLiteral("Warning %1").arg(static_cast<int>(window)));
  if (warningAnswers.empty())
    throw std::runtime_error("unexpected warning window");
  const auto [yes, ticked] = warningAnswers.front();
  warningAnswers.pop_front();
  dontShowAgain = ticked;
  return yes;
}

std::optional<std::array<bool, 4>> ScriptedUi::chooseLockBits(const LockBitsSetup &setup) {
  dialogsShown.append(QStringLiteral("FrmSetLockBits"));
  lastLockBitsSetup = setup;
  if (lockBitChoices.empty())
    throw std::runtime_error("unexpected lock bit dialog");
  const auto choice = lockBitChoices.front();
  lockBitChoices.pop_front();
  return choice;
}

std::optional<FileDialogChoice> ScriptedUi::chooseFileToOpen(const FileDialogRequest &request) {
  dialogsShown.append(request.title);
  fileDialogs.append(request);
  if (openChoices.empty())
    throw std::runtime_error("unexpected open dialog");
  const std::optional<FileDialogChoice> choice = openChoices.front();
  openChoices.pop_front();
  return choice;
}

QString ScriptedUi::chooseFileToSave(const FileDialogRequest &request) {
  dialogsShown.append(request.title);
  fileDialogs.append(request);
  if (saveChoices.empty())
    throw std::runtime_error("unexpected save dialog");
  const QString choice = saveChoices.front();
  saveChoices.pop_front();
  return choice;
}

bool ScriptedUi::editSpecialByte(SpecialByteForm &form) {
  dialogsShown.append(QStringLiteral("FrmSpecialByte ") + form.CommandNumber());
  specialByteForms.append(form);
  if (specialByteEdits.empty())
    throw std::runtime_error("unexpected special byte dialog");
  const auto edit = specialByteEdits.front();
  specialByteEdits.pop_front();
  return edit(form);
}

bool ScriptedUi::specialByteDialog(SpecialByteForm &form, const std::function<bool()> &takeOk) {
  if (!editSpecialByte(form))
    return false;
  while (!takeOk()) {
    if (specialByteEdits.empty())
      throw std::runtime_error("the special byte dialog stays open unanswered");
    const auto edit = specialByteEdits.front();
    specialByteEdits.pop_front();
    if (!edit(form))
      return false;
  }
  return true;
}

void ScriptedUi::processEvents() {
  ++processEventsCalls;
  if (onProcessEvents)
    onProcessEvents();
}

QStringList ScriptedUi::texts() const {
  QStringList all;
  for (const Message &m : messages)
    all.append(m.text);
  return all;
}

void ScriptedUi::panelChanged(Panel panel, const QString &text) {
  if (panel == Panel::SbrActivity)
    activityHistory.append(text);
}

} // namespace kvr::test
