// The special byte dialog end to end: what each number reads, what the user
// may change after Modify, and what OK sends for it.
#include "SpecialRig.h"

#include <gtest/gtest.h>

using namespace kvr;
using kvr::sim::Store;
using kvr::test::SpecialByteBlock;
using kvr::test::SpecialFrame;

namespace {

struct OkCase {
  const char *chip;
  const char *entry;
  const char *read;  // the frame before the dialog, "" when it opens without a read
  const char *edits; // after Modify: "Box=text" types, a bare name ticks or selects
  const char *sent;  // the frame OK sends, "" for nothing
  const char *block; // the bytes of its data block, hex
  const char *said;  // how the last message ends, "" for none
};

void PrintTo(const OkCase &c, std::ostream *os) {
  *os << c.entry << " on " << c.chip << " with '" << c.edits << "'";
}

class SpecialByteOk : public ::testing::TestWithParam<OkCase> {};

TEST_P(SpecialByteOk, SendsWhatTheUserChose) {
  const OkCase &c = GetParam();
  test::SimRig rig;
  test::StartOn(rig, c.chip);
  QByteArray beforeDialog;
  rig.ui.specialByteEdits = {[&](SpecialByteForm &form) {
    beforeDialog = rig.Wire();
    rig.port.clearSentBytes();
    const QStringList edits = QString(c.edits).split(' ', Qt::SkipEmptyParts);
    EXPECT_FALSE(form.isEnabled("CmdOk")) << "read-only until Modify";
    form.Modify();
    for (const QString &edit : edits) {
      const QString box = edit.section('=', 0, 0);
      EXPECT_TRUE(form.isEditable(box)) << box.toStdString();
      if (edit.contains('='))
        form.TypeText(box, edit.section('=', 1));
      else
        form.SetChecked(box, true);
    }
    return true;
  }};
  rig.core.Trigger(c.entry);
  ASSERT_EQ(rig.ui.dialogsShown.filter("FrmSpecialByte").size(), 1);
  if (QByteArray(c.read).isEmpty())
    EXPECT_EQ(beforeDialog, QByteArray()) << "opens without a read";
  else
    EXPECT_TRUE(beforeDialog.startsWith(SpecialFrame(c.read)));
  const QByteArray wire = rig.Wire();
  if (QByteArray(c.sent).isEmpty()) {
    EXPECT_EQ(wire, QByteArray());
    EXPECT_EQ(rig.ui.texts(), QStringList());
    return;
  }
  EXPECT_TRUE(wire.startsWith(SpecialFrame(c.sent))) << wire.left(12).toStdString();
  if (QByteArray(c.block).isEmpty())
    EXPECT_EQ(wire.count(SpecialFrame(c.sent)), 1) << "no data block after a set command";
  else
    EXPECT_TRUE(wire.contains(SpecialByteBlock(QByteArray::fromHex(c.block))));
  EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), QString("Special Command Successful"));
  ASSERT_FALSE(rig.ui.texts().isEmpty());
  EXPECT_TRUE(rig.ui.texts().last().endsWith(c.said)) << rig.ui.texts().last().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    EveryNumber, SpecialByteOk,
    ::testing::Values(
        // A lone digit gets its leading 0, letters go upper case.
        OkCase{"02C", "MnuStatusByteBootVector_Rx2", "02R00002",
               "TxtSpecialByte1=3 TxtSpecialByte2=1f", "03W00002", "031F",
               "Data written successfully to PHILIPS  P89C51RA2\r\rNumber of bytes written : 2"},
        OkCase{"039", "MnuStatusByteBootVector669", "16R00003", "TxtSpecialByte3=12", "17W00003",
               "00FC12", "written : 3"},
        OkCase{"08B", "BMnu_Read1ByteUCFG1", "52R00001", "TxtSpecialByte1=5a", "53W00001", "5A",
               "written : 1"},
        OkCase{"02C", "MnuSet12xClockModeRx2", "04R00001", "Opt12xClock", "01S00000", "",
               "passed."},
        OkCase{"02C", "MnuSet12xClockModeRx2", "04R00001", "", "", "", ""},
        OkCase{"041", "BMnu_6xCLK", "11R00001", "Opt6xClock", "10S00000", "", "passed."},
        OkCase{"041", "BMnu_6xCLK", "11R00001", "", "", "", ""},
        OkCase{"73", "MnuSet6xClockMode_5xX2", "12R00001", "Opt6xClock", "13S00000", "", "passed."},
        OkCase{"73", "MnuSet6xClockMode_5xX2", "12R00001", "", "", "", ""},
        OkCase{"039", "MnuSet6xClockMode_669", "14R00001", "Opt6xClock", "15S00000", "", "passed."},
        OkCase{"039", "MnuSet6xClockMode_669", "14R00001", "", "", "", ""},
        OkCase{"0D0", "BMnu_OptionControlRegister", "20R00000", "chkWDPOR", "21S00000", "",
               "passed."},
        OkCase{"0D0", "BMnu_OptionControlRegister", "20R00000", "", "", "", ""},
        OkCase{"0A3", "MnuProgramReMapBit", "", "ChkRB0", "24W00002", "0100", "written : 2"},
        OkCase{"0A3", "BMnu_ProgramReMapBit", "", "ChkRB1", "24W00002", "0001", "written : 2"},
        OkCase{"071", "MnuSetStartUpConfigBitSC0_RD", "29R00000", "", "30S00000", "", "passed."},
        OkCase{"071", "MnuSetDoubleClockMode_RD", "31R00000", "Opt6xClock", "32S00000", "",
               "passed."},
        OkCase{"071", "MnuSetDoubleClockMode_RD", "31R00000", "", "", "", ""},
        OkCase{"072", "MnuSetStartUpConfigBitSC0_RC", "36R00001", "", "37S00000", "", "passed."},
        OkCase{"072", "Mnu_SetStartUpConfigBitSC1", "38R00000", "", "39S00000", "", "passed."},
        OkCase{"072", "BMnu_SetDoubleClockMode_RC", "40R00000", "", "41S00000", "", "passed."},
        OkCase{"039", "mnuI2CSlaveAddress", "", "TxtSpecialByte4=5a", "43W00001", "5A",
               "written : 1"}));

struct SpecialBytes : ::testing::Test {
  test::SimRig rig;
  test::ScriptedUi &ui = rig.ui;
};

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
  EXPECT_EQ(rig.programmer.chip()->read(Store::StatusBoot, 0, 2), QByteArray::fromHex("00FC"));
}

TEST_F(SpecialBytes, Ucfg1ShowsTheChipsByteAndARefusedWriteSendsNoDataBlock) {
  test::StartOn(rig, "08B");
  rig.programmer.chip()->write(Store::Ucfg1, 0, "\xA5");
  rig.programmer.faults().add("nak=NUL@P2-6");
  ui.specialByteEdits = {[](SpecialByteForm &form) {
    EXPECT_EQ(form.text("TxtSpecialByte1"), QString("A5"));
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
