#include "FrmMainMenu.h"

#include "ControlLayout.h"
#include "ControlPanel.h"
#include "FrmHelp.h"
#include "FrmMCUList.h"
#include "FrmPortSelect.h"
#include "FrmSpecialByte.h"
#include "FrmSpecialTip.h"
#include "FrmTip.h"
#include "FrmWarnings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvr {

QString DisplayText(const QString &text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

FrmMainMenu::FrmMainMenu(QWidget *parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FrmMainMenu"));
  setWindowTitle(QStringLiteral("Torvane - ") + kAppTitle);
  resize(1240, 720);
  BuildMenus();
  BuildToolbar();
  BuildCentre();
  BuildStatusBar();
}

QAction *FrmMainMenu::AddAction(const QString &name, const QString &caption,
                                const QString &shortcut) {
  auto *action = new QAction(caption, this);
  action->setObjectName(name);
  if (!shortcut.isEmpty())
    action->setShortcut(QKeySequence(shortcut));
  connect(action, &QAction::triggered, this, [this, name] {
    if (name == QLatin1String("TbnStop"))
      emit stopPressed();
    else if (name == QLatin1String("MnuContents"))
      ShowHelp();
    else if (name == QLatin1String("nuAboutKvr104"))
      FrmAboutKvr(this).exec();
    else
      emit commandTriggered(name);
  });
  actions_.insert(name, action);
  return action;
}

void FrmMainMenu::BuildMenus() {
  for (const ControlSpec &spec : ControlLayout()) {
    const QString name = QLatin1String(spec.name);
    const QString parentName = QLatin1String(spec.parent);
    QMenu *parentMenu = menus_.value(parentName);
    switch (spec.kind) {
    case ControlKind::Menu: {
      QMenu *menu = parentMenu ? parentMenu->addMenu(QString::fromUtf8(spec.caption))
                               : menuBar()->addMenu(QString::fromUtf8(spec.caption));
      menu->setObjectName(name);
      menu->menuAction()->setObjectName(name);
      menus_.insert(name, menu);
      actions_.insert(name, menu->menuAction());
      if (name == QLatin1String("MnuOperations") || name == QLatin1String("MnuSelectDevice") ||
          name == QLatin1String("MnuFile"))
        connect(menu, &QMenu::aboutToShow, this, [this, name] { emit commandTriggered(name); });
      break;
    }
    case ControlKind::Entry:
      parentMenu->addAction(
          AddAction(name, QString::fromUtf8(spec.caption), QString::fromLatin1(spec.shortcut)));
      break;
    case ControlKind::Separator: {
      QAction *line = parentMenu->addSeparator();
      line->setObjectName(name);
      actions_.insert(name, line);
      break;
    }
    default: break;
    }
    if (QAction *action = actions_.value(name)) {
      action->setEnabled(spec.enabled);
      action->setVisible(spec.visible);
    }
  }
}

void FrmMainMenu::BuildToolbar() {
  auto *toolbar = addToolBar(QStringLiteral("Operations"));
  toolbar->setObjectName(QStringLiteral("TbrOperations"));
  toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  toolbar->setMovable(false);
  auto *dropDown = new QMenu(this);
  dropDown->setObjectName(QStringLiteral("TbnSpecialCommandMenu"));
  for (const ControlSpec &spec : ControlLayout()) {
    const QString name = QLatin1String(spec.name);
    if (spec.kind == ControlKind::ToolButton) {
      QAction *action = AddAction(name, QString::fromUtf8(spec.caption), QString());
      toolbar->addAction(action);
      if (QWidget *button = toolbar->widgetForAction(action))
        button->setObjectName(name);
      if (name == QLatin1String("TbnSpecialCommand")) {
        action->setMenu(dropDown);
        if (auto *button = qobject_cast<QToolButton *>(toolbar->widgetForAction(action)))
          button->setPopupMode(QToolButton::InstantPopup);
      }
    } else if (spec.kind == ControlKind::DropDownEntry) {
      dropDown->addAction(AddAction(name, QString::fromUtf8(spec.caption), QString()));
    } else {
      continue;
    }
    actions_.value(name)->setEnabled(spec.enabled);
    actions_.value(name)->setVisible(spec.visible);
  }
}

void FrmMainMenu::BuildCentre() {
  auto *centre = new QWidget(this);
  auto *layout = new QHBoxLayout(centre);
  grid_ = new QTableView(centre);
  grid_->setObjectName(QStringLiteral("FgdFile"));
  grid_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  grid_->verticalHeader()->setVisible(false);
  layout->addWidget(grid_, 1);

  auto *side = new QVBoxLayout;
  blocksCaption_ = new QLabel(QStringLiteral("Flash Block"), centre);
  blocksCaption_->setObjectName(QStringLiteral("LstCurrentBlockCaption"));
  blocks_ = new QListWidget(centre);
  blocks_->setObjectName(QStringLiteral("LstCurrentBlock"));
  blocks_->addItems({QStringLiteral("Block 0"), QStringLiteral("Block 1")});
  blocks_->setMaximumSize(120, 60);
  connect(blocks_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (panel_ && row >= 0)
      panel_->setValue(QStringLiteral("LstCurrentBlock"), row);
  });
  clockSpeed_ = new QCheckBox(QStringLiteral("6x Clock"), centre);
  clockSpeed_->setObjectName(QStringLiteral("chkClkSpeed"));
  connect(clockSpeed_, &QCheckBox::toggled, this, [this](bool on) {
    if (panel_)
      panel_->setValue(QStringLiteral("chkClkSpeed"), on ? 1 : 0);
  });
  side->addWidget(blocksCaption_);
  side->addWidget(blocks_);
  side->addWidget(clockSpeed_);
  side->addStretch();
  layout->addLayout(side);
  for (QWidget *w : {static_cast<QWidget *>(blocksCaption_), static_cast<QWidget *>(blocks_),
                     static_cast<QWidget *>(clockSpeed_)})
    w->setVisible(false);

  popUp_ = new QLabel(centre);
  popUp_->setObjectName(QStringLiteral("Label1"));
  popUp_->setAlignment(Qt::AlignCenter);
  popUp_->setStyleSheet(QStringLiteral("QLabel { background: #ffffc0; color: #800000; "
                                       "border: 1px solid #800000; padding: 8px; }"));
  popUp_->hide();
  blink_ = new QTimer(this);
  blink_->setInterval(330);
  connect(blink_, &QTimer::timeout, this, [this] {
    // Three blinks, then the notice stays a moment and goes.
    ++blinkSteps_;
    if (blinkSteps_ < 6)
      popUp_->setVisible(blinkSteps_ % 2 == 0);
    else if (blinkSteps_ == 6)
      popUp_->setVisible(true);
    else {
      popUp_->hide();
      blink_->stop();
    }
  });
  setCentralWidget(centre);
}

void FrmMainMenu::BuildStatusBar() {
  statusBar()->setObjectName(QStringLiteral("SbrStatus"));
  const struct {
    Panel panel;
    const char *key;
    int stretch;
  } layout[] = {{Panel::SbrFile, "SbrFile", 25},
                {Panel::SbrPort, "SbrPort", 10},
                {Panel::SbrMCU, "SbrMCU", 25},
                {Panel::SbrActivity, "SbrActivity", 20}};
  for (const auto &p : layout) {
    auto *label = new QLabel(this);
    label->setObjectName(QLatin1String(p.key));
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    statusBar()->addWidget(label, p.stretch);
    panels_.insert(p.panel, label);
  }
  auto *holder = new QWidget(this);
  holder->setObjectName(QStringLiteral("SbrProgress"));
  auto *holderLayout = new QHBoxLayout(holder);
  holderLayout->setContentsMargins(4, 2, 4, 2);
  progress_ = new QProgressBar(holder);
  progress_->setObjectName(QStringLiteral("PbrProgress"));
  progress_->setTextVisible(false);
  progress_->setValue(0);
  holderLayout->addWidget(progress_);
  statusBar()->addWidget(holder, 20);
}

void FrmMainMenu::ShowHelp() {
  // One help window, left open beside the main window.
  if (!help_)
    help_ = new FrmHelp(this);
  help_->show();
  help_->raise();
}

void FrmMainMenu::attach(ControlPanel &panel) {
  panel_ = &panel;
  connect(&panel, &ControlPanel::stateChanged, this, &FrmMainMenu::Apply);
  for (const ControlSpec &spec : ControlLayout())
    Apply(QLatin1String(spec.name));
}

void FrmMainMenu::Apply(const QString &name) {
  const bool enabled = panel_->isEnabled(name);
  const bool visible = panel_->isVisible(name);
  if (QAction *action = actions_.value(name)) {
    action->setEnabled(enabled);
    action->setVisible(visible);
    const ControlSpec *spec = FindControl(name);
    if (spec && (spec->kind == ControlKind::DropDownEntry || spec->kind == ControlKind::Entry))
      action->setText(panel_->text(name));
    return;
  }
  if (name == QLatin1String("LstCurrentBlock")) {
    blocks_->setVisible(visible);
    blocks_->setCurrentRow(panel_->value(name));
  } else if (name == QLatin1String("LstCurrentBlockCaption")) {
    blocksCaption_->setVisible(visible);
  } else if (name == QLatin1String("chkClkSpeed")) {
    clockSpeed_->setVisible(visible);
    clockSpeed_->setChecked(panel_->value(name) != 0);
  }
}

void FrmMainMenu::panelChanged(Panel panel, const QString &text) {
  if (QLabel *label = panels_.value(panel))
    label->setText(text);
}

void FrmMainMenu::panelToolTipChanged(Panel panel, const QString &text) {
  if (QLabel *label = panels_.value(panel))
    label->setToolTip(text);
}

namespace {
QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
  case MessageIcon::Information: return QMessageBox::Information;
  case MessageIcon::Exclamation: return QMessageBox::Warning;
  case MessageIcon::Critical: return QMessageBox::Critical;
  case MessageIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}
} // namespace

void FrmMainMenu::message(const QString &text, MessageIcon icon, const QString &title) {
  QMessageBox box(BoxIcon(icon), title, DisplayText(text), QMessageBox::Ok, this);
  box.exec();
}

Answer FrmMainMenu::ask(const QString &text, Buttons buttons, MessageIcon icon,
                        const QString &title) {
  QMessageBox::StandardButtons shown = QMessageBox::Ok;
  switch (buttons) {
  case Buttons::Ok: shown = QMessageBox::Ok; break;
  case Buttons::OkCancel: shown = QMessageBox::Ok | QMessageBox::Cancel; break;
  case Buttons::YesNo: shown = QMessageBox::Yes | QMessageBox::No; break;
  case Buttons::YesNoCancel:
    shown = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    break;
  }
  QMessageBox box(BoxIcon(icon), title, DisplayText(text), shown, this);
  switch (box.exec()) {
  case QMessageBox::Yes: return Answer::Yes;
  case QMessageBox::No: return Answer::No;
  case QMessageBox::Ok: return Answer::Ok;
  default: return Answer::Cancel;
  }
}

std::optional<int> FrmMainMenu::choosePort(int currentPort, PortMap &ports) {
  return FrmPortSelect::Choose(currentPort, ports, this);
}

bool FrmMainMenu::confirmPositioningTip(const QString &deviceId) {
  return FrmSpecialTip::Ask(deviceId, this);
}

std::optional<QString> FrmMainMenu::chooseDevice(const QString &currentId) {
  if (!catalogue_)
    return std::nullopt;
  return FrmMCUList::Choose(*catalogue_, currentId, this);
}

bool FrmMainMenu::showStartTip() { return FrmTip::Show(this); }

bool FrmMainMenu::showWarningWindow(WarningWindow window, bool &dontShowAgain) {
  FrmTipWarning warning(window, this);
  warning.exec();
  dontShowAgain = warning.DontDisplayAgain();
  return warning.Yes();
}

std::optional<std::array<bool, 4>> FrmMainMenu::chooseLockBits(const LockBitsSetup &setup) {
  return FrmSetLockBits::Choose(setup, this);
}

namespace {
// "Description|Pattern|..." to the dialog's filters. Each pattern is matched
// in any letter case, as on the platforms the filter texts come from; a
// description without a pattern uses the one in its parentheses.
QStringList NameFilters(const QString &filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts[i];
    QString pattern = i + 1 < parts.size() ? parts[i + 1] : QString();
    if (pattern.isEmpty()) {
      const qsizetype open = description.lastIndexOf(QLatin1Char('('));
      pattern = description.mid(open + 1).chopped(description.endsWith(QLatin1Char(')')) ? 1 : 0);
    }
    if (pattern == QLatin1String("*.*"))
      pattern = QStringLiteral("*");
    QStringList variants{pattern};
    if (pattern != QLatin1String("*"))
      variants << pattern.toLower() << pattern.toUpper();
    variants.removeDuplicates();
    filters << description + QStringLiteral(" (") + variants.join(QLatin1Char(' ')) +
                   QLatin1Char(')');
  }
  return filters;
}

void ApplyRequest(QFileDialog &dialog, const FileDialogRequest &request) {
  dialog.setWindowTitle(request.title);
  const QStringList filters = NameFilters(request.filter);
  dialog.setNameFilters(filters);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  if (!filters.isEmpty())
    dialog.selectNameFilter(filters.value(qMax(0, request.filterIndex - 1), filters.first()));
  dialog.setDirectory(request.folder);
  if (!request.fileName.isEmpty())
    dialog.selectFile(request.fileName);
  dialog.setDefaultSuffix(request.defaultExtension);
}
} // namespace

std::optional<FileDialogChoice> FrmMainMenu::chooseFileToOpen(const FileDialogRequest &request) {
  QFileDialog dialog(this);
  ApplyRequest(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  const int filterIndex =
      static_cast<int>(NameFilters(request.filter).indexOf(dialog.selectedNameFilter())) + 1;
  return FileDialogChoice{dialog.selectedFiles().first(), qMax(1, filterIndex)};
}

QString FrmMainMenu::chooseFileToSave(const FileDialogRequest &request) {
  QFileDialog dialog(this);
  ApplyRequest(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return QString();
  return dialog.selectedFiles().first();
}

bool FrmMainMenu::editSpecialByte(SpecialByteForm &form) {
  return FrmSpecialByte::Edit(form, this);
}

void FrmMainMenu::popUpMessage(const QString &text) {
  popUp_->setText(text);
  popUp_->adjustSize();
  popUp_->move((centralWidget()->width() - popUp_->width()) / 2,
               (centralWidget()->height() - popUp_->height()) / 2);
  popUp_->raise();
  popUp_->show();
  blinkSteps_ = 0;
  blink_->start();
}

void FrmMainMenu::progressChanged() {
  progress_->setRange(progressMinimum(), progressMaximum());
  progress_->setValue(progressValue());
}

void FrmMainMenu::showFloatingMessage(const QString &text) {
  if (!floating_) {
    floating_ = new QWidget(this, Qt::Tool | Qt::WindowStaysOnTopHint);
    floating_->setObjectName(QStringLiteral("FrmFloatingMessage"));
    floating_->setWindowTitle(QStringLiteral("Torvane - ") + kAppTitle);
    floatingText_ = new QLabel(floating_);
    floatingText_->setObjectName(QStringLiteral("LblFloatingMessage"));
    auto *layout = new QVBoxLayout(floating_);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addWidget(floatingText_);
  }
  floatingText_->setText(DisplayText(text));
  floating_->adjustSize();
  floating_->move(geometry().center() - floating_->rect().center());
  floating_->show();
  floating_->repaint();
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

void FrmMainMenu::hideFloatingMessage() {
  if (!floating_ || !floating_->isVisible())
    return;
  floating_->hide();
  QApplication::restoreOverrideCursor();
}

void FrmMainMenu::beginBusy() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void FrmMainMenu::endBusy() { QApplication::restoreOverrideCursor(); }

void FrmMainMenu::processEvents() { QCoreApplication::processEvents(); }

void FrmMainMenu::closeEvent(QCloseEvent *event) {
  if (queryClose && !queryClose())
    event->ignore();
  else
    event->accept();
}

} // namespace kvr
