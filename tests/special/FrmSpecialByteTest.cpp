// The special byte dialog renders its form and hands the user's actions to it;
// the seating tip shows how the chip chosen sits in the socket.
#include "FrmSpecialByte.h"
#include "BaseModule.h"
#include "FamilyCodes.h"
#include "FrmSpecialTip.h"
#include "SpecialByteForm.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace kvr;

TEST(FrmSpecialByte, ShowsTheFormAndModifiesThroughIt) {
  SelectedMcu mcu;
  mcu.FamilyCode = BaseModule::PHILIPSRX2;
  SpecialByteSlots held;
  held.StatusBootSlot1 = "00";
  held.StatusBootSlot2 = "FC";
  SpecialByteForm form(mcu, held);
  form.LStrCommandNumber("02");
  form.Load();
  FrmSpecialByte dialog(form);
  dialog.show();

  auto *status = dialog.findChild<QLineEdit *>("TxtSpecialByte1");
  ASSERT_TRUE(status);
  EXPECT_EQ(status->text(), QString("00"));
  EXPECT_FALSE(dialog.findChild<QLineEdit *>("TxtSpecialByte3")->isVisible());
  EXPECT_TRUE(dialog.findChild<QGroupBox *>("Frame1")->isVisible());
  EXPECT_FALSE(dialog.findChild<QGroupBox *>("Frame2")->isVisible());
  EXPECT_FALSE(status->isEnabled());
  // The frame lays its controls out: none stands over another.
  QApplication::processEvents();
  QList<QWidget *> inFrame;
  for (QWidget *control : dialog.findChild<QGroupBox *>("Frame1")->findChildren<QWidget *>(
           QString(), Qt::FindDirectChildrenOnly))
    if (control->isVisible())
      inFrame << control;
  ASSERT_GE(inFrame.size(), 3);
  for (qsizetype i = 0; i < inFrame.size(); ++i)
    for (qsizetype j = i + 1; j < inFrame.size(); ++j)
      EXPECT_FALSE(inFrame[i]->geometry().intersects(inFrame[j]->geometry()))
          << inFrame[i]->objectName().toStdString() << " "
          << inFrame[j]->objectName().toStdString();

  dialog.findChild<QPushButton *>("CmdModify")->click();
  EXPECT_TRUE(status->isEnabled());
  EXPECT_TRUE(dialog.findChild<QPushButton *>("CmdOk")->isEnabled());
  status->clear();
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(status, &key);
  EXPECT_EQ(status->text(), QString("A")) << "upper case as typed";
  EXPECT_EQ(form.text("TxtSpecialByte1"), QString("A"));
  // Leaving the box shows what the form made of it: a lone digit as its byte.
  status->clear();
  QKeyEvent five(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"));
  QApplication::sendEvent(status, &five);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(status, &enter);
  EXPECT_EQ(status->text(), QString("05"));
}

TEST(FrmSpecialTip, EachChipOfTheListShowsItsOwnSeating) {
  FrmSpecialTip tip(0);
  const QString first = tip.TipText();
  EXPECT_TRUE(first.startsWith("This is a 14pin Mcu.")) << first.toStdString();
  tip.findChild<QComboBox *>("CboMCU")->setCurrentIndex(1);
  EXPECT_TRUE(tip.TipText().startsWith("This is a 16pin Mcu.")) << tip.TipText().toStdString();
}
