// The main window as the program's Ui, on the simulated programmer: what the
// user sees of a special command, with its message boxes and dialogs answered
// as a user would.
#include "AppCore.h"
#include "ChipSource.h"
#include "FrmMainMenu.h"
#include "Globals.h"
#include "LoopbackPort.h"
#include "ProgramFolder.h"
#include "Programmer.h"
#include "Session.h"
#include "SimChip.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

class WindowOnSimulator : public ::testing::Test {
protected:
  WindowOnSimulator() {
    window.attach(core.panel());
    // The user acts on the window in front, from a timer of its own: what
    // it does may open another window, whose event loop runs meanwhile.
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [this] {
      QPointer<QWidget> front = QApplication::activeModalWidget();
      if (!front || acting)
        return;
      acting = true;
      QTimer::singleShot(0, &window, [this, front] {
        acting = false;
        if (front && !(act && act(front)))
          if (auto *box = qobject_cast<QMessageBox *>(front.data()))
            box->defaultButton() ? box->defaultButton()->click() : box->reject();
      });
    });
    user.start();
  }

  void Start(const QString &id) {
    BaseModule::InitGlobals(session, folder.path());
    ASSERT_EQ(core.catalogue().OpenCatalogue(), DatabaseHandlers::OpenOutcome::Opened);
    QString error;
    const auto model = sim::LoadCatalogueChip(folder.catalogue(), id, &error);
    ASSERT_TRUE(model) << error.toStdString();
    programmer.seat(std::make_unique<sim::SimChip>(*model));
    ASSERT_TRUE(core.catalogue().SelectMcu(id));
    ASSERT_TRUE(port.open());
    session.PortIsOpen = session.ProgrammerPresent = true;
    core.signature().MnuVerifySignature_Click();
    ASSERT_TRUE(session.SignatureVerified);
  }

  test::ProgramFolder folder;
  Session session;
  FrmMainMenu window;
  sim::Programmer programmer;
  LoopbackPort port{&programmer};
  AppCore core{session, window, port,
               CatalogueOptions{folder.userFolder(), QStringLiteral("QSQLITE")}};
  QTimer user;
  bool acting = false;
  // The user's answer to a window in front; false leaves a message box to its default button.
  std::function<bool(QWidget *)> act;
};

TEST_F(WindowOnSimulator, ARefusedStatusByteStaysOnScreenUnderItsMessage) {
  Start("02C"); // PHILIPSRX2

  QPointer<QWidget> dialog; // null once closed, whatever takes its place
  int dialogsOpened = 0;
  bool messageOverTheDialog = false;
  act = [&](QWidget *front) {
    if (front->objectName() != QLatin1String("FrmSpecialByte")) {
      messageOverTheDialog = qobject_cast<QMessageBox *>(front) && dialog &&
                             front->parentWidget() == dialog && dialog->isVisible();
      return false;
    }
    if (front != dialog) {
      dialog = front;
      ++dialogsOpened;
    }
    if (dialogsOpened == 1 && front->findChild<QPushButton *>("CmdModify")->isEnabled()) {
      front->findChild<QPushButton *>("CmdModify")->click();
      auto *status = front->findChild<QLineEdit *>("TxtSpecialByte1");
      status->setText("G1");
      emit status->textEdited(status->text());
      front->findChild<QPushButton *>("CmdOk")->click();
    } else {
      EXPECT_EQ(front->findChild<QLineEdit *>("TxtSpecialByte1")->text(), QString("G1"));
      front->findChild<QPushButton *>("CmdCancel")->click();
    }
    return true;
  };
  core.Trigger("MnuStatusByteBootVector_Rx2");
  EXPECT_EQ(dialogsOpened, 1) << "no new window after the message's OK";
  EXPECT_TRUE(messageOverTheDialog);
}

TEST_F(WindowOnSimulator, ProgressBarIsEmptyAfterASpecialAreaRead) {
  Start("017");
  core.Trigger("BMnu_ReadEEPROM");
  ASSERT_GT(core.buffer().rowCount(), 0) << "the area was read";
  const QProgressBar *bar = window.progressBar();
  EXPECT_LT(bar->minimum(), bar->maximum()) << "not the busy indicator";
  EXPECT_EQ(bar->value(), bar->minimum());
}

} // namespace
