// Every special number leaves the PC with its mode and length digits, from
// the menu entry or drop-down entry that sends it, and the simulated
// firmware serves it.
#include "SpecialRig.h"

#include <gtest/gtest.h>

using namespace kvr;
using kvr::test::SpecialFrame;

namespace {

struct PayloadCase {
  const char *chip;
  const char *entry;
  const char *fields; // number, mode, length
};

void PrintTo(const PayloadCase &c, std::ostream *os) { *os << c.entry << " on " << c.chip; }

class SpecialPayload : public ::testing::TestWithParam<PayloadCase> {};

TEST_P(SpecialPayload, GoesOutWithItsLengthAndIsServed) {
  const PayloadCase &c = GetParam();
  test::SimRig rig;
  test::StartOn(rig, c.chip);
  // A write needs an image (and may remind to unlock the chip); a special
  // byte opens its dialog.
  if (c.fields[2] == 'W') {
    rig.Load(test::Pattern(32));
    rig.ui.answers = {Answer::Ok};
  }
  rig.ui.specialByteEdits = {[](SpecialByteForm &) { return false; }};
  rig.core.Trigger(c.entry);
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame(c.fields))) << rig.Wire().left(16).toStdString();
  EXPECT_EQ(rig.ui.texts().filter("Error at Slave"), QStringList());
  EXPECT_NE(rig.ui.panelText(Panel::SbrActivity), QString("Read Failed"));
  EXPECT_NE(rig.ui.panelText(Panel::SbrActivity), QString("Write Failed"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryEntry, SpecialPayload,
    ::testing::Values(PayloadCase{"017", "MnuRead2kEEPROM", "08R02048"},
                      PayloadCase{"017", "BMnu_WriteEEPROM", "09W02048"},
                      PayloadCase{"064", "MnuRead4kLDROM", "06R04096"},
                      PayloadCase{"065", "BMnu_WriteLDROM", "07W04096"},
                      PayloadCase{"04C", "mnuRead4kDataBlock", "18R04096"},
                      PayloadCase{"04C", "BMnu_Write4kDataBlock", "19W04096"},
                      PayloadCase{"039", "BMnu_Read8kDataBlock", "18R08192"},
                      PayloadCase{"039", "mnuWrite8kDataBlock", "19W08192"},
                      PayloadCase{"0A1", "MnuReadSecFlashBlock1_Fxx", "22R04096"},
                      PayloadCase{"0A3", "BMnu_WriteSecFlashBlock1", "23W04096"},
                      PayloadCase{"072", "BMnu_Read8kSecondaryFlashBlock1", "33R08192"},
                      PayloadCase{"072", "MnuWrite8kSecondaryFlashBlock1", "34W08192"},
                      PayloadCase{"08B", "BMnu_Read32ByteUserP", "50R00032"},
                      PayloadCase{"08C", "MnuWrite32byteUsersParameter", "51W00032"},
                      PayloadCase{"02C", "BMnu_StatusByte&BootVector", "02R00002"},
                      PayloadCase{"035", "MnuStatusByteBootVector66x", "02R00002"},
                      PayloadCase{"039", "BMnu_StatusByte&BootVector", "16R00003"},
                      PayloadCase{"049", "MnuStatusByteBootVector_6xX2", "16R00003"},
                      PayloadCase{"04D", "MnuStausByteBootVector_Rx2XX", "16R00003"},
                      PayloadCase{"036", "BMnu_12xCLK_Rx2", "04R00001"},
                      PayloadCase{"72", "BMnu_6xCLK", "12R00001"},
                      PayloadCase{"048", "BMnu_6xCLK", "14R00001"},
                      PayloadCase{"04E", "MnuSet6xClockMode_Rx2XX", "14R00001"},
                      PayloadCase{"071", "BMnu_SetStartUpConfigBitSC0_RD", "29R00000"},
                      PayloadCase{"072", "BMnu_SetStartUpConfigBitSC0_RC", "36R00001"},
                      PayloadCase{"072", "BMnu_BlockErase_RC", "35S00000"}));

TEST(SpecialPayloadEdges, DataBlockOfADeviceWithoutOneAnnouncesNothing) {
  test::SimRig rig;
  test::StartOn(rig, "035"); // PHILIPS66X, not the "039"
  rig.core.Trigger("mnuRead8kDataBlock");
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame("18R00000")));
  // This firmware has no data block on the chip: five refusals.
  EXPECT_EQ(rig.Wire().count(SpecialFrame("18R00000")), 5);
  EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), QString("Read Failed"));
  EXPECT_FALSE(rig.session.SpecialCommandOk);
}

TEST(SpecialPayloadEdges, NumberOutsideTheTableIsReadAsASpecialByte) {
  test::SimRig rig;
  test::StartOn(rig, "039");
  rig.core.specialCommands().SpecialCommand("99", BaseModule::SpecialModeSet);
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame("99R00000")));
  EXPECT_TRUE(rig.ui.dialogsShown.isEmpty()) << "refused: no dialog";
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnRead")) << "menus back";
}

} // namespace
