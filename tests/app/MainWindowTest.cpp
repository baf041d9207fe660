// The main window offscreen: every named control is there with its caption,
// it follows the ControlPanel, fits a laptop screen and can be driven from the
// keyboard; its windows keep their titles whole and Tab in layout order.
#include "ControlLayout.h"
#include "ControlPanel.h"
#include "FamilyCodes.h"
#include "FrmHelp.h"
#include "FrmMainMenu.h"
#include "FrmSpecialByte.h"
#include "FrmSpecialTip.h"
#include "FrmSplash.h"
#include "FrmWarnings.h"
#include "QtPrinters.h"
#include "Session.h"
#include "Settings.h"
#include "SpecialByteForm.h"
#include "WindowFit.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

TEST(MainWindow, EveryControlOfTheLayoutIsThereByNameInItsMenu) {
  FrmMainMenu window;
  EXPECT_EQ(window.windowTitle(), QString("Torvane - KVR 1.04"));
  for (const ControlSpec &spec : ControlLayout()) {
    const QString name = spec.name;
    if (spec.kind == ControlKind::WindowControl) {
      EXPECT_NE(window.findChild<QWidget *>(name), nullptr) << spec.name;
      continue;
    }
    QAction *action = window.findChild<QAction *>(name);
    ASSERT_NE(action, nullptr) << spec.name;
    if (spec.kind != ControlKind::Separator) {
      EXPECT_EQ(action->text(), QString::fromUtf8(spec.caption)) << spec.name;
    }
    EXPECT_EQ(action->shortcut(), QKeySequence(spec.shortcut)) << spec.name;
    // A hidden action always reports itself disabled.
    if (spec.visible) {
      EXPECT_EQ(action->isEnabled(), spec.enabled) << spec.name;
    }
    EXPECT_EQ(action->isVisible(), spec.visible) << spec.name;
    const QString parent = spec.parent;
    const QMenu *menu = window.findChild<QMenu *>(
        parent == "TbnSpecialCommand" ? QString("TbnSpecialCommandMenu") : parent);
    if (!parent.isEmpty()) {
      EXPECT_TRUE(menu && menu->actions().contains(action)) << spec.name << " in " << spec.parent;
    }
  }
  for (const char *name : {"TbrOperations", "SbrStatus", "FgdFile", "PbrProgress", "SbrFile",
                           "SbrPort", "SbrMCU", "SbrActivity", "SbrProgress"})
    EXPECT_NE(window.findChild<QWidget *>(name), nullptr) << name;
  EXPECT_EQ(window.findChild<QCheckBox *>("chkClkSpeed")->text(), QString("6x Clock"));
  EXPECT_EQ(window.findChild<QListWidget *>("LstCurrentBlock")->count(), 2);
  // One click opens the drop-down.
  const auto *dropDown = window.findChild<QToolButton *>("TbnSpecialCommand");
  EXPECT_EQ(dropDown->popupMode(), QToolButton::InstantPopup);
  EXPECT_EQ(dropDown->defaultAction()->menu(), window.findChild<QMenu *>("TbnSpecialCommandMenu"));
}

TEST(MainWindow, MirrorsThePanelAndItsStatusTexts) {
  Session session;
  ControlPanel panel(session);
  FrmMainMenu window;
  window.attach(panel);
  session.DatabaseAvailable = true;
  session.SignatureVerified = true;
  session.Mcu.FamilyCode = "PHILIPS66X";
  session.Mcu.MCUIDNumber = "039";
  panel.SetMenuOptions(false);
  panel.SetDropDownOptions_Special();
  EXPECT_TRUE(window.findChild<QAction *>("TbnRead")->isEnabled());
  EXPECT_TRUE(window.findChild<QAction *>("BMnu_Read8kDataBlock")->isVisible());
  EXPECT_FALSE(window.findChild<QAction *>("NA")->isVisible());
  EXPECT_EQ(window.findChild<QAction *>("BMnu_StatusByte&BootVector")->text(),
            QString("Status Byte && Boot Vectors"));
  panel.SetMenuOptions(true);
  EXPECT_FALSE(window.findChild<QAction *>("TbnRead")->isEnabled());
  EXPECT_TRUE(window.findChild<QAction *>("TbnStop")->isEnabled());

  panel.setVisible("chkClkSpeed", true);
  window.show();
  EXPECT_TRUE(window.findChild<QCheckBox *>("chkClkSpeed")->isVisible());

  Ui &ui = window;
  ui.showFloatingMessage("Wait...");
  EXPECT_NE(QApplication::overrideCursor(), nullptr);
  ui.hideFloatingMessage();
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait pointer goes with the message";
  ui.setActivity("Signature Verified");
  EXPECT_EQ(window.findChild<QLabel *>("SbrActivity")->text(), QString("Signature Verified"));
  // The special commands end with a range of no length: an empty bar, not
  // the busy indicator.
  ui.setProgressRange(0, 0);
  ui.setProgressValue(0);
  EXPECT_LT(window.progressBar()->minimum(), window.progressBar()->maximum());
  EXPECT_EQ(window.progressBar()->value(), window.progressBar()->minimum());
}

// The file dialogs answer the name only when the user accepts it; Cancel
// chooses nothing though a name is filled in.
TEST(MainWindow, FileDialogsAnswerANameOnlyWhenAccepted) {
  FrmMainMenu window;
  Ui &ui = window;
  QTemporaryDir folder;
  const FileDialogRequest request{"Save As", "", 0, folder.path(), "prog.bin", "bin"};
  const auto answerWith = [](void (QDialog::*answer)()) {
    QTimer::singleShot(0, [answer] {
      for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *dialog = qobject_cast<QFileDialog *>(widget); dialog && dialog->isVisible())
          (dialog->*answer)();
    });
  };
  answerWith(&QDialog::reject);
  EXPECT_EQ(ui.chooseFileToSave(request), QString());
  answerWith(&QDialog::accept);
  EXPECT_EQ(ui.chooseFileToSave(request), folder.filePath("prog.bin"));
  answerWith(&QDialog::reject);
  EXPECT_FALSE(ui.chooseFileToOpen(request).has_value());
}

// Opening these menus reaches the core, which takes a pending grid edit.
TEST(MainWindow, OpeningTheMenusAboveTheGridReachesTheCore) {
  FrmMainMenu window;
  QStringList triggered;
  QObject::connect(&window, &FrmMainMenu::commandTriggered,
                   [&](const QString &name) { triggered.append(name); });
  for (const char *name : {"MnuFile", "MnuSelectDevice", "MnuOperations", "MnuTool"}) {
    QMenu *menu = window.findChild<QMenu *>(name);
    menu->popup(QPoint());
    menu->hide();
  }
  EXPECT_EQ(triggered, (QStringList{"MnuFile", "MnuSelectDevice", "MnuOperations"}));
}

TEST(MainWindow, ToolbarOfPicturesFitsALaptopScreenAndNarrowsToPictures) {
  FrmMainMenu window;
  static_cast<Ui &>(window).setPanelText(Panel::SbrFile, "File : " + QString(300, 'x'));
  window.resize(QSize(1024, 768).shrunkBy(kFrameAllowance));
  window.show();
  QApplication::processEvents();
  auto *toolbar = window.findChild<QToolBar *>("TbrOperations");
  EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
  EXPECT_LE(toolbar->sizeHint().width(), 1024);
  // Every part inside the window; a long file name takes no room from the other panels.
  EXPECT_TRUE(window.rect().contains(window.findChild<QWidget *>("FgdFile")->geometry()));
  const std::pair<const char *, double> shares[] = {{"SbrFile", 0.25},
                                                    {"SbrPort", 0.1},
                                                    {"SbrMCU", 0.25},
                                                    {"SbrActivity", 0.2},
                                                    {"SbrProgress", 0.2}};
  int panelsWidth = 0;
  for (const auto &[name, share] : shares)
    panelsWidth += window.findChild<QWidget *>(name)->width();
  for (const auto &[name, share] : shares) {
    const QWidget *panel = window.findChild<QWidget *>(name);
    const QRect shown(panel->mapTo(&window, QPoint()), panel->size());
    EXPECT_TRUE(window.rect().contains(shown)) << name;
    EXPECT_NEAR(shown.width(), share * panelsWidth, 0.005 * panelsWidth) << name;
  }
  for (const ControlSpec &spec : ControlLayout()) {
    if (spec.kind != ControlKind::ToolButton)
      continue;
    auto *button = window.findChild<QToolButton *>(spec.name);
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(spec.caption)) << spec.name;
    EXPECT_EQ(button->accessibleName(), QString::fromUtf8(spec.caption)) << spec.name;
    // Drawn at twice the pixels on a 200 % screen, not scaled up.
    EXPECT_EQ(button->icon().pixmap(QSize(24, 24), 2.0).size(), QSize(48, 48)) << spec.name;
  }
  window.resize(600, 500);
  EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonIconOnly);
  window.resize(1300, 700);
  EXPECT_EQ(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
}

TEST(MainWindow, OpensWithinTheScreenAndComesBackWhereItWasLeft) {
  const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect left(available.topLeft() + QPoint(30, 40), QSize(500, 300));
  auto first = std::make_unique<FrmMainMenu>();
  EXPECT_TRUE(available.contains(first->geometry().marginsAdded(kFrameAllowance)));
  first->setGeometry(left);
  first->SaveGeometry();
  first = std::make_unique<FrmMainMenu>();
  EXPECT_EQ(first->geometry(), left);
  first->resize(3000, 2000);
  first->SaveGeometry();
  FrmMainMenu onASmallerScreen;
  EXPECT_TRUE(available.contains(onASmallerScreen.geometry().marginsAdded(kFrameAllowance)));
  Settings::SetValue("Window", "Geometry", QString());
}

TEST(MainWindow, EveryToolbarCommandIsReachableByKeyboardWhenEnabled) {
  // The menu entry that runs a toolbar button's command, where there is one.
  // clang-format off
  const QHash<QString, QString> menuEntryFor{
      {"TbnFileOpen", "MnuOpen"}, {"TbnFileSave", "MnuSave"}, {"TbnBlankCheck", "MnuBlankCheck"},
      {"TbnErase", "MnuEraseWithSV"}, {"TbnRead", "MnuRead"}, {"TbnWrite", "MnuWrite"},
      {"TbnLock", "MnuLock"}, {"TbnAuto", "MnuAuto"}};
  // clang-format on
  Session session;
  ControlPanel panel(session);
  panel.setBufferFacts([] { return 4; }, [] { return QString("/tmp/a.hex"); });
  FrmMainMenu window;
  window.attach(panel);
  window.show();
  QApplication::setActiveWindow(&window);
  QStringList triggered;
  QObject::connect(&window, &FrmMainMenu::commandTriggered,
                   [&](const QString &name) { triggered.append(name); });
  QObject::connect(&window, &FrmMainMenu::stopPressed, [&] { triggered.append("TbnStop"); });
  auto *dropDown = window.findChild<QMenu *>("TbnSpecialCommandMenu");
  QObject::connect(dropDown, &QMenu::aboutToShow, [&] { triggered.append("TbnSpecialCommand"); });

  const auto checkEnabledButtons = [&](const char *state) {
    for (const ControlSpec &spec : ControlLayout()) {
      const QString name = spec.name;
      if (spec.kind != ControlKind::ToolButton || !window.action(name)->isEnabled())
        continue;
      const QKeySequence shortcut = window.action(name)->shortcut();
      if (shortcut.isEmpty()) {
        // The entry and every menu above it are open to the keyboard.
        EXPECT_TRUE(menuEntryFor.contains(name)) << state << ": no key for " << spec.name;
        for (QString entry = menuEntryFor[name]; !entry.isEmpty();
             entry = FindControl(entry)->parent)
          EXPECT_TRUE(window.action(entry)->isEnabled() && window.action(entry)->isVisible())
              << state << ": " << spec.name << " through " << entry.toStdString();
        continue;
      }
      triggered.clear();
      QKeyEvent press(QEvent::KeyPress, shortcut[0].key(), shortcut[0].keyboardModifiers());
      QApplication::sendEvent(window.grid(), &press);
      EXPECT_EQ(triggered, QStringList{name}) << state;
      if (name == "TbnSpecialCommand") { // Enter picks the first entry offered at once
        const QList<QAction *> entries = dropDown->actions();
        const auto offered = std::find_if(entries.begin(), entries.end(), [](QAction *entry) {
          return entry->isVisible() && entry->isEnabled();
        });
        ASSERT_NE(offered, entries.end()) << state;
        EXPECT_EQ(dropDown->activeAction(), *offered) << state;
      }
      dropDown->hide();
    }
  };
  session.DatabaseAvailable = true;
  session.Mcu.FamilyCode = BaseModule::ATMEL89S;
  session.Mcu.MCUIDNumber = "017";
  panel.SetMenuOptions(false);
  checkEnabledButtons("device chosen, signature not verified");
  // As a failed signature verification leaves them.
  panel.setEnabled("TbnErase_5v", true);
  panel.setEnabled("TbnErase_12v", true);
  checkEnabledButtons("after a failed signature");
  session.SignatureVerified = true;
  panel.SetMenuOptions(false);
  panel.SetDropDownOptions_Special();
  checkEnabledButtons("verified, image loaded");
  panel.SetMenuOptions(true);
  checkEnabledButtons("busy");
}

TEST(Dialogs, TitlesAreWholeAndTheTabKeyFollowsTheLayout) {
  FrmMainMenu window; // it keeps the program's windows as wide as their titles
  SelectedMcu mcu;
  mcu.FamilyCode = BaseModule::PHILIPSRX2;
  SpecialByteForm form(mcu, SpecialByteSlots{});
  form.LStrCommandNumber("02");
  form.Load();
  static_cast<Ui &>(window).showFloatingMessage("Wait...");
  FrmTipWarning warning(WarningWindow::Erase, &window);
  FrmSetLockBits lockBits(LockBitsSetup{{"Lock Bit 1", "Lock Bit 2"}, {true, true}}, &window);
  for (int bit = 1; bit <= 4; ++bit) // found by name, as the lock bit dialog's users do
    EXPECT_NE(lockBits.findChild<QCheckBox *>(QString("CbxLockBit%1").arg(bit)), nullptr) << bit;
  FrmSpecialTip seating(0, &window);
  FrmSpecialByte specialByte(form, &window);
  FrmHelp help(&window);
  FrmAboutKvr about(&window);
  QFont bold = window.font();
  bold.setBold(true);
  const QFontMetrics title(bold);
  QWidget *floating = window.findChild<QWidget *>("FrmFloatingMessage");
  const QList<QWidget *> dialogs{floating,     &warning, &lockBits, &seating,
                                 &specialByte, &help,    &about};
  for (QWidget *dialog : dialogs) {
    const std::string name = dialog->objectName().toStdString();
    dialog->show();
    for (QWidget *control : dialog->findChildren<QWidget *>()) { // as scripts find them
      if (qobject_cast<QLabel *>(control) || qobject_cast<QAbstractButton *>(control)) {
        EXPECT_FALSE(control->objectName().isEmpty())
            << name << ": " << control->metaObject()->className();
      }
    }
    // Room for the title and the frame's buttons, also after the user narrows the window.
    EXPECT_GT(dialog->minimumWidth(),
              title.horizontalAdvance(dialog->windowTitle()) + 3 * title.height())
        << name;
    // Each Tab goes down, or right along a row, or up to a new column on the right.
    QRect before;
    for (QWidget *w = dialog->nextInFocusChain(); w != dialog; w = w->nextInFocusChain()) {
      if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(dialog) || !w->isEnabled())
        continue;
      const QRect here(w->mapTo(dialog, QPoint()), w->size());
      const bool above = here.bottom() < before.top() && here.left() <= before.left();
      const bool leftOnTheRow = here.bottom() >= before.top() && here.top() <= before.bottom() &&
                                here.right() < before.left();
      EXPECT_FALSE(before.isValid() && (above || leftOnTheRow))
          << name << ": then " << w->objectName().toStdString();
      before = here;
    }
    dialog->hide();
  }
  window.hideFloatingMessage();
}

TEST(Dialogs, ARefusedSpecialByteOkIsSaidOverTheDialogWhichStaysOpen) {
  FrmMainMenu window;
  SpecialByteForm form(SelectedMcu{}, SpecialByteSlots{});
  form.LStrCommandNumber("02");
  form.Load();
  form.Modify();
  bool messageOverTheDialog = false;
  // The user presses OK from the event loop: the message OK brings runs a
  // loop of its own, in which this timer fires again.
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    QWidget *front = QApplication::activeModalWidget();
    if (auto *box = qobject_cast<QMessageBox *>(front)) {
      const QWidget *under = box->parentWidget();
      messageOverTheDialog = under->objectName() == "FrmSpecialByte" && under->isVisible();
      box->accept();
    } else if (front) {
      QMetaObject::invokeMethod(front->findChild<QPushButton *>("CmdOk"), &QPushButton::click,
                                Qt::QueuedConnection);
    }
  });
  user.start(5);
  Ui &ui = window;
  int oks = 0;
  EXPECT_TRUE(ui.specialByteDialog(form, [&] {
    if (oks++)
      return true;
    ui.message(SpecialByteText::InvalidHex, MessageIcon::Exclamation);
    return false;
  }));
  EXPECT_EQ(oks, 2) << "the second OK on the same dialog";
  EXPECT_TRUE(messageOverTheDialog);
}

TEST(Splash, EscEndsTheWaitAtOnce) {
  // Esc as soon as the splash is up.
  QTimer press;
  press.setInterval(20);
  QObject::connect(&press, &QTimer::timeout, [] {
    for (QWidget *w : QApplication::topLevelWidgets())
      if (w->objectName() == "frmSplash1" && w->isVisible()) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(w, &esc);
      }
  });
  press.start();
  QElapsedTimer clock;
  clock.start();
  FrmSplash::WaitFor(std::chrono::seconds(10));
  EXPECT_LT(clock.elapsed(), 5000);
}

} // namespace
