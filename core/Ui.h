#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <chrono>
#include <functional>
#include <optional>

namespace kvr {

class PortMap;
class SpecialByteForm;

// Title of every message box the program shows.
inline const QString kAppTitle = QStringLiteral("KVR 1.04");

// The heading and the switch of the windows that warn before going on.
namespace WarningWindowText {
inline const QString Heading = QStringLiteral("Warning !!");
inline const QString DontDisplayAgain = QStringLiteral("Don't display this message again");
} // namespace WarningWindowText

enum class MessageIcon { Information, Exclamation, Critical, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// How the lock bit dialog opens: a caption and an enabled state per box.
struct LockBitsSetup {
  std::array<QString, 4> captions;
  std::array<bool, 4> enabled{};
};

// The warning windows shown before operations that touch flash block 1, by
// their switch row in the catalogue: 2 erase, 3 lock, 4 Auto and block-1 write.
enum class WarningWindow { Erase = 2, Lock = 3, Auto = 4 };

// Keyed panels of the status bar.
enum class Panel { SbrFile, SbrActivity, SbrPort, SbrMCU };

// The common open and save dialog. The filter is "Description|Pattern|..."
// pairs; the filter index counts from 1, and 0 means the first filter.
struct FileDialogRequest {
  QString title;
  QString filter;
  int filterIndex = 0;
  QString folder;
  QString fileName;
  QString defaultExtension; // without the dot, added when the name has none
};

struct FileDialogChoice {
  QString path;
  int filterIndex = 0; // the filter in use when the user accepted, from 1
};

// Everything an operation shows or asks. The main window implements it with
// widgets, tests with a script, kvr-cli with the console. The panel texts are
// kept here so every implementation reads back what was written.
class Ui {
public:
  virtual ~Ui() = default;

  // Shows a message box; a warning or error is also kept, for the records
  // that say what the user was shown.
  void message(const QString &text, MessageIcon icon, const QString &title = kAppTitle);
  virtual Answer ask(const QString &text, Buttons buttons, MessageIcon icon,
                     const QString &title = kAppTitle) = 0;

  void setPanelText(Panel panel, const QString &text);
  QString panelText(Panel panel) const { return panels_.value(panel); }
  void setPanelToolTip(Panel panel, const QString &text);
  QString panelToolTip(Panel panel) const { return panelToolTips_.value(panel); }

  // "SbrActivity" carries a tag beside its text: the name of the running
  // operation, to which the exchange appends the seconds waited.
  void setActivity(const QString &textAndTag);
  void setActivityTag(const QString &tag) { activityTag_ = tag; }
  QString activityTag() const { return activityTag_; }

  // The port dialog: the chosen port number, or nothing when cancelled. Its
  // Refresh button looks at the ports again.
  virtual std::optional<int> choosePort(int currentPort, PortMap &ports) = 0;

  // The positioning tip shown before verifying the devices that need it,
  // opened at the chip's picture; true when the user confirmed that the chip
  // sits as shown.
  virtual bool confirmPositioningTip(const QString &deviceId, int picture) = 0;

  // A warning window: true for Yes; dontShowAgain tells whether the user
  // ticked "Don't display this message again".
  virtual bool showWarningWindow(WarningWindow window, bool &dontShowAgain) = 0;

  // The lock bit dialog: which of the four boxes were ticked, or nothing
  // after Cancel. The dialog refuses OK until one of the first three is ticked.
  virtual std::optional<std::array<bool, 4>> chooseLockBits(const LockBitsSetup &setup) = 0;

  // The start-up and exit tip; true when the user ticked "Don't display this
  // message again".
  virtual bool showStartTip() = 0;

  // The open dialog: the chosen file, or nothing after Cancel.
  virtual std::optional<FileDialogChoice> chooseFileToOpen(const FileDialogRequest &request) = 0;
  // The save dialog: the chosen name, empty after Cancel. It never asks about
  // overwriting; the program does.
  virtual QString chooseFileToSave(const FileDialogRequest &request) = 0;

  // The special byte dialog on the form the special commands prepared:
  // Modify, typing and ticking act on the form. True after OK, false after Cancel.
  virtual bool editSpecialByte(SpecialByteForm &form) = 0;
  // The same dialog with its OK put to takeOk: an OK that takeOk refuses
  // (it has told the user why) leaves the dialog open as it is. True after
  // a taken OK, false after Cancel. This default opens the dialog again.
  virtual bool specialByteDialog(SpecialByteForm &form, const std::function<bool()> &takeOk);

  // Blinks a notice in the main window for about two seconds.
  virtual void popUpMessage(const QString &) {}

  // The progress bar PbrProgress. The values are kept so every Ui reads them back.
  void setProgressRange(int minimum, int maximum);
  void setProgressValue(int value);
  int progressMinimum() const { return progressMinimum_; }
  int progressMaximum() const { return progressMaximum_; }
  int progressValue() const { return progressValue_; }

  // FrmFloatingMessage: a wait text without buttons while an operation runs.
  virtual void showFloatingMessage(const QString &text) = 0;
  virtual void hideFloatingMessage() = 0;

  // Hourglass over the buffer grid; calls nest.
  virtual void beginBusy() {}
  virtual void endBusy() {}

  // Let pending user-interface events run (repaints, the Stop button).
  virtual void processEvents() {}

  // How many warnings and errors were shown so far; the texts of those
  // shown since there were count of them, oldest first (the last few only),
  // and when the first of those came up (nothing when none did).
  int warningCount() const { return warningCount_; }
  QStringList warningsSince(int count) const;
  std::optional<std::chrono::steady_clock::time_point> firstWarningAfter(int count) const;
  // When the last message of any kind came up.
  std::chrono::steady_clock::time_point lastMessageAt() const { return lastMessageAt_; }

protected:
  virtual void showMessage(const QString &text, MessageIcon icon, const QString &title) = 0;
  virtual void panelChanged(Panel, const QString &) {}
  virtual void panelToolTipChanged(Panel, const QString &) {}
  virtual void progressChanged() {}

private:
  QHash<Panel, QString> panels_;
  QHash<Panel, QString> panelToolTips_;
  QString activityTag_;
  struct ShownWarning {
    QString text;
    std::chrono::steady_clock::time_point at;
  };
  // How many of the recent warnings came after there were count of them.
  qsizetype recentWarningsSince(int count) const;

  int warningCount_ = 0;
  QList<ShownWarning> recentWarnings_;
  std::chrono::steady_clock::time_point lastMessageAt_{};
  int progressMinimum_ = 0;
  int progressMaximum_ = 100;
  int progressValue_ = 0;
};

// Holds the hourglass for one scope.
class BusyPointer {
public:
  explicit BusyPointer(Ui &ui) : ui_(ui) { ui_.beginBusy(); }
  ~BusyPointer() { ui_.endBusy(); }
  BusyPointer(const BusyPointer &) = delete;
  BusyPointer &operator=(const BusyPointer &) = delete;

private:
  Ui &ui_;
};

} // namespace kvr
