#pragma once

#include "QtPrinters.h"
#include "SpecialByteForm.h"
#include "Ui.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>

namespace kvr::test {

// A Ui that records what the program shows and answers questions from a queue.
class ScriptedUi : public Ui {
public:
  struct Message {
    QString text;
    MessageIcon icon;
    QString title;
    bool question = false;
  };

  void showMessage(const QString &text, MessageIcon icon, const QString &title) override;
  Answer ask(const QString &text, Buttons buttons, MessageIcon icon, const QString &title) override;
  std::optional<int> choosePort(int currentPort, PortMap &ports) override;
  bool confirmPositioningTip(const QString &deviceId, int picture) override;
  bool showStartTip() override;
  bool showWarningWindow(WarningWindow window, bool &dontShowAgain) override;
  std::optional<std::array<bool, 4>> chooseLockBits(const LockBitsSetup &setup) override;
  std::optional<FileDialogChoice> chooseFileToOpen(const FileDialogRequest &request) override;
  QString chooseFileToSave(const FileDialogRequest &request) override;
  bool editSpecialByte(SpecialByteForm &form) override;
  bool specialByteDialog(SpecialByteForm &form, const std::function<bool()> &takeOk) override;
  void popUpMessage(const QString &text) override { popUps.append(text); }
  void showFloatingMessage(const QString &text) override { floatingMessages.append(text); }
  void hideFloatingMessage() override { ++floatingHidden; }
  void beginBusy() override { ++busyDepth; }
  void endBusy() override { --busyDepth; }
  void processEvents() override;

  // Texts of every message and question, in order.
  QStringList texts() const;
  // Every text SbrActivity showed, in order.
  QStringList activityHistory;

  QList<Message> messages;
  std::deque<Answer> answers;
  // Port dialog results (nullopt: Cancel) and the tip confirmations, in order.
  std::deque<std::optional<int>> portChoices;
  std::deque<bool> tipConfirmations;
  // Answers of the start tip: true ticks "Don't display this message again".
  std::deque<bool> startTipAnswers;
  // Open dialog results (nullopt: Cancel) and save dialog names (empty:
  // Cancel), in order; the requests as the program made them.
  std::deque<std::optional<FileDialogChoice>> openChoices;
  std::deque<QString> saveChoices;
  QList<FileDialogRequest> fileDialogs;
  QStringList popUps;
  // Warning windows: {Yes?, ticked "Don't display"}, in order.
  std::deque<std::pair<bool, bool>> warningAnswers;
  // Lock bit dialog results (nullopt: Cancel) and the last setup it was shown with.
  std::deque<std::optional<std::array<bool, 4>>> lockBitChoices;
  LockBitsSetup lastLockBitsSetup;
  // Special byte dialogs: each acts on the form as the user would (Modify,
  // typing, ticking) and returns true for OK, false for Cancel. After a
  // refused OK the next one acts on the same open dialog.
  std::deque<std::function<bool(SpecialByteForm &)>> specialByteEdits;
  QStringList floatingMessages;
  int floatingHidden = 0;
  QStringList dialogsShown;
  // Runs at each "let events run" of the program, e.g. to press Stop.
  std::function<void()> onProcessEvents;
  int busyDepth = 0;
  int processEventsCalls = 0;

protected:
  void panelChanged(Panel panel, const QString &text) override;
};

} // namespace kvr::test
