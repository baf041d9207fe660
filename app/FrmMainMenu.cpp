#include "FrmMainMenu.h"

#include "FileFilters.h"

#include "ControlLayout.h"
#include "ControlPanel.h"
#include "FrmHelp.h"
#include "FrmMCUList.h"
#include "FrmPortSelect.h"
#include "FrmSpecialByte.h"
#include "FrmSpecialTip.h"
#include "FrmTip.h"
#include "FrmWarnings.h"
#include "Settings.h"
#include "WindowFit.h"

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
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kvr {

namespace {
const QString kMainWindowTitle = QStringLiteral("Torvane - ") + kAppTitle;
} // namespace

QString DisplayText(const QString &text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

namespace {
const QString kWindowSection = QStringLiteral("Window");
const QString kGeometryKey = QStringLiteral("Geometry");
constexpr QSize kPreferredSize(1240, 720);

// The desktop icon theme's picture where it has a fitting one, else our own.
QIcon ToolbarPicture(const QString &name) {
  const QIcon own(QStringLiteral(":/toolbar/") + name + QStringLiteral(".svg"));
  const ToolButtonFace *face = FindToolButtonFace(name);
  return face && *face->themeIcon ? QIcon::fromTheme(QLatin1String(face->themeIcon), own) : own;
}

// A status panel: a text too long for its share of the bar ends in "..."
// rather than being cut off mid-letter.
class StatusPanel : public QLabel {
public:
  using QLabel::QLabel;

protected:
  void paintEvent(QPaintEvent *) override {
    QPainter painter(this);
    drawFrame(&painter);
    const int indent = fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2;
    const QRect room = contentsRect().adjusted(indent, 0, -indent, 0);
    painter.drawText(room, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(text(), Qt::ElideRight, room.width()));
  }
};
} // namespace

FrmMainMenu::FrmMainMenu(QWidget *parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("FrmMainMenu"));
  setWindowTitle(kMainWindowTitle);
  new TitleWidthGuard(this);
  BuildMenus();
  BuildToolbar();
  BuildCentre();
  BuildStatusBar();
  PlaceOnScreen();
}

void FrmMainMenu::PlaceOnScreen() {
  const QByteArray saved =
      QByteArray::fromBase64(Settings::Value(kWindowSection, kGeometryKey).toLatin1());
  if (!saved.isEmpty() && restoreGeometry(saved)) {
    // The screens may have changed since.
    const QScreen *shownOn = QGuiApplication::screenAt(geometry().center());
    if (!isMaximized() && !isFullScreen())
      setGeometry(FitToArea(geometry(), (shownOn ? shownOn : screen())->availableGeometry()));
    return;
  }
  const QRect available = screen()->availableGeometry();
  QRect wanted(QPoint(), kPreferredSize);
  wanted.moveCenter(available.center());
  setGeometry(FitToArea(wanted, available));
}

void FrmMainMenu::SaveGeometry() const {
  Settings::SetValue(kWindowSection, kGeometryKey, QString::fromLatin1(saveGeometry().toBase64()));
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
    else if (name == QLatin1String("TbnSpecialCommand"))
      ShowSpecialDropDown(); // its shortcut; a click opens the drop-down itself
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
  toolbar_ = addToolBar(QStringLiteral("Operations"));
  toolbar_->setObjectName(QStringLiteral("TbrOperations"));
  toolbar_->setToolButtonStyle(CaptionedStyle());
  toolbar_->setMovable(false);
  dropDown_ = new QMenu(this);
  dropDown_->setObjectName(QStringLiteral("TbnSpecialCommandMenu"));
  for (const ControlSpec &spec : ControlLayout()) {
    const QString name = QLatin1String(spec.name);
    if (spec.kind == ControlKind::ToolButton) {
      // The stored text stays the button's text, tool tip and accessible
      // name; the picture carries the short caption.
      QAction *action =
          AddAction(name, QString::fromUtf8(spec.caption), QString::fromLatin1(spec.shortcut));
      action->setIcon(ToolbarPicture(name));
      action->setToolTip(action->text());
      if (const ToolButtonFace *face = FindToolButtonFace(name))
        action->setIconText(QString::fromUtf8(face->caption));
      toolbar_->addAction(action);
      if (QWidget *button = toolbar_->widgetForAction(action)) {
        button->setObjectName(name);
        button->setAccessibleName(action->text());
      }
      if (name == QLatin1String("TbnSpecialCommand")) {
        action->setMenu(dropDown_);
        if (auto *button = qobject_cast<QToolButton *>(toolbar_->widgetForAction(action)))
          button->setPopupMode(QToolButton::InstantPopup);
      }
    } else if (spec.kind == ControlKind::DropDownEntry) {
      dropDown_->addAction(AddAction(name, QString::fromUtf8(spec.caption), QString()));
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
    auto *label = new StatusPanel(this);
    label->setObjectName(QLatin1String(p.key));
    // The panels share the width by their fractions; a long text is
    // shortened rather than widening the window.
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
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

void FrmMainMenu::ShowSpecialDropDown() {
  const QWidget *button =
      toolbar_->widgetForAction(actions_.value(QStringLiteral("TbnSpecialCommand")));
  dropDown_->popup(button && button->isVisible()
                       ? button->mapToGlobal(QPoint(0, button->height()))
                       : mapToGlobal(QPoint(0, toolbar_->geometry().bottom())));
  for (QAction *entry : dropDown_->actions())
    if (entry->isVisible() && entry->isEnabled()) {
      dropDown_->setActiveAction(entry);
      break;
    }
}

Qt::ToolButtonStyle FrmMainMenu::CaptionedStyle() const {
  // The desktop's toolbar style where it sets one; the style's own default,
  // pictures only, is what a desktop without a setting reports.
  const auto desktop =
      static_cast<Qt::ToolButtonStyle>(style()->styleHint(QStyle::SH_ToolButtonStyle));
  return desktop == Qt::ToolButtonIconOnly ? Qt::ToolButtonTextUnderIcon : desktop;
}

void FrmMainMenu::FitToolbar() {
  const Qt::ToolButtonStyle captioned = CaptionedStyle();
  if (captionedToolbarWidth_ == 0) {
    const Qt::ToolButtonStyle shown = toolbar_->toolButtonStyle();
    toolbar_->setToolButtonStyle(captioned);
    captionedToolbarWidth_ = toolbar_->sizeHint().width();
    toolbar_->setToolButtonStyle(shown);
  }
  toolbar_->setToolButtonStyle(captionedToolbarWidth_ <= width() ? captioned
                                                                 : Qt::ToolButtonIconOnly);
}

void FrmMainMenu::resizeEvent(QResizeEvent *event) {
  QMainWindow::resizeEvent(event);
  FitToolbar();
}

void FrmMainMenu::changeEvent(QEvent *event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) {
    captionedToolbarWidth_ = 0;
    FitToolbar();
  }
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

QWidget *FrmMainMenu::BoxOwner() {
  QWidget *dialog = QApplication::activeModalWidget();
  return dialog ? dialog : this;
}

void FrmMainMenu::showMessage(const QString &text, MessageIcon icon, const QString &title) {
  QMessageBox box(BoxIcon(icon), title, DisplayText(text), QMessageBox::Ok, BoxOwner());
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
  QMessageBox box(BoxIcon(icon), title, DisplayText(text), shown, BoxOwner());
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

bool FrmMainMenu::confirmPositioningTip(const QString &, int picture) {
  return FrmSpecialTip::Ask(picture, this);
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
void ApplyRequest(QFileDialog &dialog, const FileDialogRequest &request) {
  dialog.setWindowTitle(request.title);
  const QStringList filters = DialogNameFilters(request.filter);
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
  return FileDialogChoice{dialog.selectedFiles().first(),
                          FilterIndex(request.filter, dialog.selectedNameFilter())};
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

bool FrmMainMenu::specialByteDialog(SpecialByteForm &form, const std::function<bool()> &takeOk) {
  return FrmSpecialByte::Edit(form, this, takeOk);
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
  // A range of no length is a bar with nothing done, not the busy indicator
  // the widget would animate: the program knows the length of its tasks.
  const int minimum = progressMinimum();
  progress_->setRange(minimum, qMax(progressMaximum(), minimum + 1));
  progress_->setValue(progressValue());
}

void FrmMainMenu::showFloatingMessage(const QString &text) {
  if (!floating_) {
    floating_ = new QWidget(this, Qt::Tool | Qt::WindowStaysOnTopHint);
    floating_->setObjectName(QStringLiteral("FrmFloatingMessage"));
    floating_->setWindowTitle(kMainWindowTitle);
    // The main window keeps the keyboard, so that Stop's key still works.
    floating_->setAttribute(Qt::WA_ShowWithoutActivating);
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
