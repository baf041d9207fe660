#pragma once

#include "Ui.h"

#include <QString>
#include <QTextStream>

#include <array>
#include <optional>

namespace kvr::cli {

enum class Verbosity { Quiet, Normal, Verbose };

// Thrown when the program asks a question that the command line did not
// answer. Every such question comes before an operation sends its command,
// so ending the run there leaves the programmer idle.
struct UnansweredQuestion {
  QString option; // the option that answers it
};

// The Ui of kvr-cli: messages are lines on stderr, questions are answered
// from the options, the progress bar is drawn only on a terminal.
class ConsoleUi : public Ui {
public:
  ConsoleUi(QTextStream &err, Verbosity verbosity, bool assumeYes, bool drawProgress);

  void showMessage(const QString &text, MessageIcon icon, const QString &title) override;
  Answer ask(const QString &text, Buttons buttons, MessageIcon icon,
             const QString &title = kAppTitle) override;
  std::optional<int> choosePort(int currentPort, PortMap &ports) override;
  bool confirmPositioningTip(const QString &deviceId, int picture) override;
  bool showWarningWindow(WarningWindow window, bool &dontShowAgain) override;
  std::optional<std::array<bool, 4>> chooseLockBits(const LockBitsSetup &setup) override;
  bool showStartTip() override { return false; }
  std::optional<FileDialogChoice> chooseFileToOpen(const FileDialogRequest &request) override;
  QString chooseFileToSave(const FileDialogRequest &request) override;
  bool editSpecialByte(SpecialByteForm &form) override;
  void showFloatingMessage(const QString &text) override;
  void hideFloatingMessage() override {}
  void processEvents() override;

  // The lock bit dialog's answer, taken from the command's arguments.
  void setLockBits(const std::array<bool, 4> &ticked) { lockBits_ = ticked; }
  // The special byte dialog's answer: the bytes for its editable byte boxes,
  // in order. Without them the dialog is only read, then cancelled.
  void setSpecialBytes(const QStringList &bytes) { specialBytes_ = bytes; }
  // What the special byte dialog showed when it opened, one "caption: value"
  // a line; empty when it did not open.
  const QStringList &specialByteValues() const { return specialByteValues_; }

  // A line of kvr-cli's own, prefixed with its name; shown even with --quiet.
  void note(const QString &text);
  // A line of kvr-cli's own that --quiet leaves out.
  void info(const QString &text);
  // A line of kvr-cli's own for --verbose only.
  void detail(const QString &text);

  // Lines so far that tell of a failure or refusal: warnings, questions and
  // kvr-cli's own notes, --quiet or not.
  int failureLines() const { return failureLines_; }

protected:
  void panelChanged(Panel panel, const QString &text) override;
  void progressChanged() override;

private:
  // Returns with --yes; otherwise shows the text and ends the run.
  void RequireYes(const QString &text);
  void PrintLine(const QString &line);
  void ClearBar();

  QTextStream &err_;
  Verbosity verbosity_;
  bool assumeYes_;
  bool drawProgress_;
  bool barShown_ = false;
  int failureLines_ = 0;
  int barPercent_ = -1;
  QString lastStatus_;
  std::optional<std::array<bool, 4>> lockBits_;
  std::optional<QStringList> specialBytes_;
  bool specialBytesTyped_ = false;
  QStringList specialByteValues_;
};

// The window's text on one line: its line breaks become single spaces.
QString OneLine(const QString &text);

} // namespace kvr::cli
