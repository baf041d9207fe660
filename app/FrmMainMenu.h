#pragma once

#include "Ui.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QCheckBox;
class QDialog;
class QLabel;
class QListWidget;
class QMenu;
class QProgressBar;
class QTableView;
class QTimer;
class QToolBar;

namespace kvr {

class ControlPanel;
class DatabaseHandlers;

// The main window: menus, toolbar, special drop-down, buffer grid and status
// bar. It renders what the core decides (ControlPanel, status texts) and hands
// every click, by the control's name, to whoever listens to commandTriggered.
class FrmMainMenu : public QMainWindow, public Ui {
  Q_OBJECT
public:
  explicit FrmMainMenu(QWidget *parent = nullptr);

  // Mirrors the panel's states onto the controls from now on.
  void attach(ControlPanel &panel);
  void attachCatalogue(const DatabaseHandlers &catalogue) { catalogue_ = &catalogue; }

  // The device selection window; the chosen identifier, or nothing after Cancel.
  std::optional<QString> chooseDevice(const QString &currentId);

  // Puts the window on its screen: where the last confirmed close left it,
  // else at a size that fits the screen's available area, centred.
  void PlaceOnScreen();
  // Remembers the window's size and place for the next run.
  void SaveGeometry() const;

  QAction *action(const QString &name) const { return actions_.value(name); }
  QTableView *grid() const { return grid_; }
  QProgressBar *progressBar() const { return progress_; }

  // Asked before the window closes; false keeps it open.
  std::function<bool()> queryClose;

  // Ui
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
  void popUpMessage(const QString &text) override;
  void showFloatingMessage(const QString &text) override;
  void hideFloatingMessage() override;
  void beginBusy() override;
  void endBusy() override;
  void processEvents() override;

signals:
  // A menu entry, toolbar button or drop-down entry was chosen.
  void commandTriggered(const QString &name);
  // Stop acts at once, also while an operation waits.
  void stopPressed();
  void blockChosen(int index);

protected:
  void panelChanged(Panel panel, const QString &text) override;
  void panelToolTipChanged(Panel panel, const QString &text) override;
  void progressChanged() override;
  void closeEvent(QCloseEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  void BuildMenus();
  void BuildToolbar();
  void BuildStatusBar();
  void BuildCentre();
  void Apply(const QString &name);
  void ShowHelp();
  void ShowSpecialDropDown();
  // Pictures with captions when the toolbar fits the window, pictures only otherwise.
  void FitToolbar();
  Qt::ToolButtonStyle CaptionedStyle() const;
  QAction *AddAction(const QString &name, const QString &caption, const QString &shortcut);
  // Message boxes stand over the dialog that is open, else over the window.
  QWidget *BoxOwner();

  ControlPanel *panel_ = nullptr;
  const DatabaseHandlers *catalogue_ = nullptr;
  QHash<QString, QAction *> actions_;
  QHash<QString, QMenu *> menus_;
  QHash<Panel, QLabel *> panels_;
  QToolBar *toolbar_ = nullptr;
  QMenu *dropDown_ = nullptr;
  int captionedToolbarWidth_ = 0; // 0: to be measured
  QTableView *grid_ = nullptr;
  QProgressBar *progress_ = nullptr;
  QListWidget *blocks_ = nullptr;
  QLabel *blocksCaption_ = nullptr;
  QCheckBox *clockSpeed_ = nullptr;
  QLabel *popUp_ = nullptr;
  QDialog *help_ = nullptr;
  QWidget *floating_ = nullptr;
  QLabel *floatingText_ = nullptr;
  QTimer *blink_ = nullptr;
  int blinkSteps_ = 0;
};

// Message texts use CR between lines; widgets want LF.
QString DisplayText(const QString &text);

} // namespace kvr
