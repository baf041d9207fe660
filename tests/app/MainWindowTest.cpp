// The main window offscreen: every named control is there with its caption,
// and it follows the ControlPanel.
#include "ControlLayout.h"
#include "ControlPanel.h"
#include "FrmMainMenu.h"
#include "FrmSplash.h"
#include "QtPrinters.h"
#include "Session.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

TEST(MainWindow, EveryControlOfTheLayoutIsThereByName) {
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
  }
  for (const char *name : {"TbrOperations", "SbrStatus", "FgdFile", "PbrProgress", "SbrFile",
                           "SbrPort", "SbrMCU", "SbrActivity", "SbrProgress"})
    EXPECT_NE(window.findChild<QWidget *>(name), nullptr) << name;
  EXPECT_EQ(window.findChild<QCheckBox *>("chkClkSpeed")->text(), QString("6x Clock"));
  EXPECT_EQ(window.findChild<QListWidget *>("LstCurrentBlock")->count(), 2);
}

TEST(MainWindow, MenusKeepTheirTreeAndShortcuts) {
  FrmMainMenu window;
  const QMenu *file = window.findChild<QMenu *>("MnuFile");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->title(), QString("&File"));
  EXPECT_EQ(window.findChild<QAction *>("MnuOpen")->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(window.findChild<QAction *>("mnuEditCell")->shortcut(), QKeySequence("Ctrl+E"));
  const QMenu *lpc = window.findChild<QMenu *>("MnuLPC");
  ASSERT_NE(lpc, nullptr);
  EXPECT_EQ(lpc->title(), QString("LPC "));
  EXPECT_EQ(window.findChild<QMenu *>("Mnu89C669")->parent(),
            window.findChild<QMenu *>("Mnu89C66xx"));
  auto *dropDown = window.findChild<QToolButton *>("TbnSpecialCommand");
  ASSERT_NE(dropDown, nullptr);
  EXPECT_EQ(dropDown->popupMode(), QToolButton::InstantPopup);
  ASSERT_NE(dropDown->defaultAction()->menu(), nullptr);
  EXPECT_EQ(dropDown->defaultAction()->menu()->actions().size(), 30);
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
  ui.setActivity("Signature Verified");
  EXPECT_EQ(window.findChild<QLabel *>("SbrActivity")->text(), QString("Signature Verified"));
}

TEST(MainWindow, ClicksReachTheCoreByNameAndStopHasItsOwnSignal) {
  FrmMainMenu window;
  QStringList triggered;
  int stops = 0;
  QObject::connect(&window, &FrmMainMenu::commandTriggered,
                   [&](const QString &name) { triggered.append(name); });
  QObject::connect(&window, &FrmMainMenu::stopPressed, [&] { ++stops; });
  window.findChild<QAction *>("MnuAutodetect")->trigger();
  window.findChild<QAction *>("BMnu_ReadEEPROM")->trigger();
  window.findChild<QAction *>("TbnStop")->setEnabled(true);
  window.findChild<QAction *>("TbnStop")->trigger();
  EXPECT_EQ(triggered, (QStringList{"MnuAutodetect", "BMnu_ReadEEPROM"}));
  EXPECT_EQ(stops, 1);
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
