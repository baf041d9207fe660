#include "ScriptedUi.h"

#include <stdexcept>

namespace kvr::test {

namespace {

// The next scripted answer; a dialog the script did not expect fails the test.
template <typename T> T Next(std::deque<T> &queue, const char *dialog) {
  if (queue.empty())
    throw std::runtime_error(std::string("unexpected ") + dialog);
  T next = std::move(queue.front());
  queue.pop_front();
  return next;
}

} // namespace

void ScriptedUi::showMessage(const QString &text, MessageIcon icon, const QString &title) {
  messages.append({text, icon, title, false});
}

Answer ScriptedUi::ask(const QString &text, Buttons, MessageIcon icon, const QString &title) {
  messages.append({text, icon, title, true});
  return Next(answers, ("question: " + text.toStdString()).c_str());
}

std::optional<int> ScriptedUi::choosePort(int currentPort, PortMap &) {
  dialogsShown.append(QStringLiteral("FrmPortSelect COM%1").arg(currentPort));
  return Next(portChoices, "port dialog");
}

bool ScriptedUi::confirmPositioningTip(const QString &deviceId, int picture) {
  dialogsShown.append(QStringLiteral("FrmSpecialTip %1 %2").arg(deviceId).arg(picture));
  return Next(tipConfirmations, "positioning tip");
}

bool ScriptedUi::showStartTip() {
  dialogsShown.append(QStringLiteral("FrmTip"));
  return !startTipAnswers.empty() && Next(startTipAnswers, "start tip");
}

bool ScriptedUi::showWarningWindow(WarningWindow window, bool &dontShowAgain) {
  dialogsShown.append(QStringLiteral("Warning %1").arg(static_cast<int>(window)));
  const auto [yes, ticked] = Next(warningAnswers, "warning window");
  dontShowAgain = ticked;
  return yes;
}

std::optional<std::array<bool, 4>> ScriptedUi::chooseLockBits(const LockBitsSetup &setup) {
  dialogsShown.append(QStringLiteral("FrmSetLockBits"));
  lastLockBitsSetup = setup;
  return Next(lockBitChoices, "lock bit dialog");
}

std::optional<FileDialogChoice> ScriptedUi::chooseFileToOpen(const FileDialogRequest &request) {
  dialogsShown.append(request.title);
  fileDialogs.append(request);
  return Next(openChoices, "open dialog");
}

QString ScriptedUi::chooseFileToSave(const FileDialogRequest &request) {
  dialogsShown.append(request.title);
  fileDialogs.append(request);
  return Next(saveChoices, "save dialog");
}

bool ScriptedUi::editSpecialByte(SpecialByteForm &form) {
  dialogsShown.append(QStringLiteral("FrmSpecialByte ") + form.CommandNumber());
  return Next(specialByteEdits, "special byte dialog")(form);
}

bool ScriptedUi::specialByteDialog(SpecialByteForm &form, const std::function<bool()> &takeOk) {
  if (!editSpecialByte(form))
    return false;
  while (!takeOk()) {
    if (!Next(specialByteEdits, "answer: the special byte dialog stays open")(form))
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
