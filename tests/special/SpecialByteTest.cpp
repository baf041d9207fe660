// Special bytes read into their slots, shown in the special byte dialog and
// written from it.
#include "SpecialRig.h"

#include <gtest/gtest.h>

using namespace kvr;
using kvr::sim::Store;
using kvr::test::SpecialByteBlock;
using kvr::test::SpecialFrame;

namespace {

struct SpecialBytes : ::testing::Test {
  test::SimRig rig;
  test::ScriptedUi &ui = rig.ui;

  QByteArray Held(Store store, int count) { return rig.programmer.chip()->read(store, 0, count); }
  void Hold(Store store, const char *hex) {
    rig.programmer.chip()->write(store, 0, QByteArray::fromHex(hex));
  }
};

TEST_F(SpecialBytes, StatusByteAndBootVectorAreShownAndWrittenBack) {
  test::StartOn(rig, "02C"); // PHILIPSRX2
  ui.specialByteEdits = {[](SpecialByteForm &form) {
    form.Modify();
    form.TypeText("TxtSpecialByte1", "3");
    form.TypeText("TxtSpecialByte2", "1f");
    return true;
  }};
  rig.core.Trigger("MnuStatusByteBootVector_Rx2");
  ASSERT_EQ(ui.specialByteForms.size(), 1);
  const SpecialByteForm &opened = ui.specialByteForms[0];
  EXPECT_EQ(opened.text("TxtSpecialByte1"), QString("00"));
  EXPECT_EQ(opened.text("TxtSpecialByte2"), QString("FC")) << "the boot vector comes with it";
  EXPECT_FALSE(opened.isVisible("TxtSpecialByte3"));
  EXPECT_FALSE(opened.isEditable("TxtSpecialByte1")) << "read-only until Modify";

  const QByteArray wire = rig.Wire();
  EXPECT_TRUE(wire.contains(SpecialFrame("03W00002")));
  EXPECT_TRUE(wire.contains(SpecialByteBlock(QByteArray::fromHex("031F"))));
  EXPECT_EQ(Held(Store::StatusBoot, 3), QByteArray::fromHex("031F00"));
  EXPECT_EQ(ui.texts(),
            QStringList{
                "Data written successfully to PHILIPS  P89C51RA2\r\rNumber of bytes written : 2"});
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Special Command Successful"));
}

TEST_F(SpecialBytes, StatusByteAndBothBootVectorsOfThe669) {
  test::StartOn(rig, "039");
  ui.specialByteEdits = {[](SpecialByteForm &form) {
    form.Modify();
    EXPECT_TRUE(form.isEditable("TxtSpecialByte3"));
    form.TypeText("TxtSpecialByte3", "12");
    return true;
  }};
  rig.core.Trigger("MnuStatusByteBootVector669");
  const SpecialByteForm &opened = ui.specialByteForms.at(0);
  EXPECT_EQ(opened.text("LblSpecialByte2"), QString("Boot Vector1"));
  EXPECT_EQ(opened.text("LblSpecialByte3"), QString("Boot Vector2"));
  EXPECT_TRUE(rig.Wire().contains(SpecialByteBlock(QByteArray::fromHex("00FC12"))));
  EXPECT_EQ(Held(Store::StatusBoot, 3), QByteArray::fromHex("00FC12"));
}

TEST_F(SpecialBytes, Ucfg1IsOneByteWhateverTheHiddenBoxHolds) {
  test::StartOn(rig, "08B");
  ui.specialByteEdits = {[](SpecialByteForm &form) {
    form.Modify();
    form.TypeText("TxtSpecialByte1", "5a");
    form.TypeText("TxtSpecialByte2", "zz");
    return true;
  }};
  rig.core.Trigger("BMnu_Read1ByteUCFG1");
  EXPECT_EQ(ui.specialByteForms.at(0).text("LblSpecialByte1"), QString("UCFG1"));
  EXPECT_EQ(ui.specialByteForms.at(0).text("TxtSpecialByte1"), QString("FF"));
  const QByteArray wire = rig.Wire();
  EXPECT_TRUE(wire.contains(SpecialFrame("53W00001")));
  EXPECT_TRUE(wire.contains(SpecialByteBlock(QByteArray::fromHex("5A"))));
  EXPECT_EQ(Held(Store::Ucfg1, 1), QByteArray::fromHex("5A"));
}

TEST_F(SpecialBytes, ClockModeOkSendsOnlyAChangeTheFamilyAllows) {
  test::StartOn(rig, "02C"); // PHILIPSRX2, at 6-clock
  ui.specialByteEdits = {[](SpecialByteForm &form) {
                           EXPECT_TRUE(form.isChecked("Opt6xClock"));
                           form.Modify();
                           EXPECT_TRUE(form.isEditable("Opt12xClock"));
                           EXPECT_FALSE(form.isEditable("Opt6xClock"));
                           return true;
                         },
                         [](SpecialByteForm &form) {
                           form.Modify();
                           form.SetChecked("Opt12xClock", true);
                           return true;
                         }};
  rig.core.Trigger("MnuSet12xClockModeRx2");
  EXPECT_FALSE(rig.Wire().contains(SpecialFrame("01S00000"))) << "6x stays: nothing to send";
  EXPECT_TRUE(ui.texts().isEmpty());
  rig.core.Trigger("BMnu_12xCLK_Rx2");
  EXPECT_TRUE(rig.Wire().contains(SpecialFrame("01S00000")));
  EXPECT_EQ(Held(Store::ClockMode, 1), QByteArray::fromHex("FF"));
  EXPECT_EQ(ui.texts(), QStringList{"Special command passed."});
}

TEST_F(SpecialBytes, ReMapBitsAreWrittenAsTwoBytes) {
  test::StartOn(rig, "0A3"); // SSTCXX
  ui.specialByteEdits = {[](SpecialByteForm &form) {
    form.Modify();
    form.SetChecked("ChkRB0", true);
    return true;
  }};
  rig.core.Trigger("MnuProgramReMapBit");
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame("24W00002")));
  EXPECT_TRUE(rig.Wire().contains(SpecialByteBlock(QByteArray::fromHex("0100"))));
  EXPECT_EQ(Held(Store::RemapBits, 2), QByteArray::fromHex("0100"));
}

TEST_F(SpecialBytes, StartUpConfigBitIsSetFromTheDialog) {
  test::StartOn(rig, "072");
  ui.specialByteEdits = {[](SpecialByteForm &form) {
    EXPECT_FALSE(form.isChecked("ChkSC0"));
    form.Modify();
    return true;
  }};
  rig.core.Trigger("MnuSetStartUpConfigBitSC0_RC");
  EXPECT_TRUE(rig.Wire().contains(SpecialFrame("37S00000")));
  EXPECT_EQ(Held(Store::ConfigBits, 1), QByteArray::fromHex("08"));
}

TEST_F(SpecialBytes, InvalidHexKeepsTheDialogOpenAndWritesNothing) {
  test::StartOn(rig, "02C");
  ui.specialByteEdits = {[](SpecialByteForm &form) {
                           form.Modify();
                           form.TypeText("TxtSpecialByte1", "G1");
                           return true;
                         },
                         [](SpecialByteForm &form) {
                           EXPECT_EQ(form.text("TxtSpecialByte1"), QString("G1")) << "as typed";
                           EXPECT_TRUE(form.isEditable("TxtSpecialByte1")) << "still modifying";
                           return false;
                         }};
  rig.core.Trigger("MnuStatusByteBootVector_Rx2");
  EXPECT_EQ(ui.texts(), QStringList{"InCorrect Input !! Not a Valid Hexadecimal Number"});
  EXPECT_EQ(ui.dialogsShown.filter("FrmSpecialByte").size(), 1) << "the same dialog stays open";
  EXPECT_FALSE(rig.Wire().contains(SpecialFrame("03W00002")));
  EXPECT_EQ(Held(Store::StatusBoot, 2), QByteArray::fromHex("00FC"));
}

TEST_F(SpecialBytes, I2cSlaveAddressIsTypedAndWritten) {
  test::StartOn(rig, "039");
  ui.specialByteEdits = {[](SpecialByteForm &form) {
                           form.Modify();
                           return true; // nothing typed: refused, not written as FFh
                         },
                         [](SpecialByteForm &form) {
                           EXPECT_TRUE(form.isEditable("TxtSpecialByte4"));
                           form.TypeText("TxtSpecialByte4", "5a");
                           return true;
                         }};
  rig.core.Trigger("mnuI2CSlaveAddress");
  EXPECT_EQ(ui.texts().first(), QString("InCorrect Input !! Not a Valid Hexadecimal Number"));
  // The one byte the dialog holds is announced and reported.
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame("43W00001")));
  EXPECT_TRUE(ui.texts().last().endsWith("Number of bytes written : 1"))
      << ui.texts().join('|').toStdString();
  EXPECT_EQ(Held(Store::I2cAddress, 1), QByteArray::fromHex("5A"));
}

TEST_F(SpecialBytes, RefusedWriteSendsNoDataBlock) {
  test::StartOn(rig, "08B");
  rig.programmer.faults().add("nak=NUL@P2-6");
  ui.specialByteEdits = {[](SpecialByteForm &form) {
    form.Modify();
    form.TypeText("TxtSpecialByte1", "5A");
    return true;
  }};
  rig.core.Trigger("Mnu1byteUCFG1");
  const QByteArray wire = rig.Wire();
  EXPECT_EQ(wire.count(SpecialFrame("53W00001")), 5);
  EXPECT_FALSE(wire.contains(SpecialByteBlock(QByteArray::fromHex("5A"))));
  EXPECT_EQ(ui.texts(), (QStringList{"Error at Slave : Unknown Command.", "Write failed."}));
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Write Failed"));
}

TEST_F(SpecialBytes, HalfReadBytesOpenNoDialog) {
  test::StartOn(rig, "039");
  rig.programmer.faults().add("drop@P1/data1");
  rig.core.Trigger("MnuStatusByteBootVector669");
  EXPECT_TRUE(ui.dialogsShown.isEmpty());
  EXPECT_FALSE(rig.session.SpecialCommandOk);
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Read Failed"));
}

} // namespace
