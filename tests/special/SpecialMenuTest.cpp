// The family checks of the special menu entries and Re-enable Warning.
#include "SpecialRig.h"

#include <gtest/gtest.h>

using namespace kvr;
using kvr::test::SpecialFrame;

namespace {

struct Refusal {
  const char *chip;
  const char *entry;
  const char *message; // "" when the entry does nothing at all
};

void PrintTo(const Refusal &c, std::ostream *os) { *os << c.entry << " on " << c.chip; }

class SpecialMenuRefusal : public ::testing::TestWithParam<Refusal> {};

TEST_P(SpecialMenuRefusal, WrongFamilyNeverReachesTheProgrammer) {
  const Refusal &c = GetParam();
  test::SimRig rig;
  test::StartOn(rig, c.chip);
  rig.core.Trigger(c.entry);
  EXPECT_TRUE(rig.Wire().isEmpty());
  if (QByteArray(c.message).isEmpty()) {
    EXPECT_TRUE(rig.ui.messages.isEmpty());
    return;
  }
  ASSERT_EQ(rig.ui.messages.size(), 1);
  EXPECT_EQ(rig.ui.messages[0].text, QString(c.message));
  EXPECT_EQ(rig.ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(rig.ui.messages[0].title, QString("KVR 1.04"));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, SpecialMenuRefusal,
    ::testing::Values(
        Refusal{"02C", "MnuRead2kEEPROM",
                "This operation is available only for ATMEL89S range of MCUs."},
        Refusal{"02C", "MnuStatusByteBootVector669",
                "This operation is available only for MCUPHILIPS669"},
        Refusal{"017", "MnuSet6xClockMode_5xX2",
                "This operation is available only for PHILIPS5xX2, PHILIPS87C range of MCUs."},
        Refusal{"80", "MnuSet6xClockMode_5xX2", ""},
        Refusal{"062", "MnuRead4kLDROM",
                "This operation is available only for WINBOND78E 58B and 516B range of MCUs."},
        Refusal{"062", "MnuWrite4kLDROM",
                "This operation is available only for WINBOND78E58B and 516B range of MCUs."},
        Refusal{"017", "MnuWriteSecFlashBlock1_Fxx",
                "This operation is available only for SSTCXX and SSTFXX range of MCUs."},
        Refusal{"071", "MnuProgramReMapBit",
                "This operation is available only for SSTCXX and SSTFXX range of MCUs."},
        Refusal{"017", "mnuWrite4kDataBlock",
                "This operation is available only for PHILIPSRx2XX range of MCUs."},
        Refusal{"017", "BMnu_SetStartUpConfigBitSC1",
                "This operation is available only for SST89x5xxRx range of MCUs."},
        Refusal{"017", "MnuRead32byteUsersParameter",
                "This operation is available only for PHILIPSLPC range of MCUs."}));

TEST(SpecialMenu, TheTwoRdSetEntriesRunForAnyFamily) {
  test::SimRig rig;
  test::StartOn(rig, "017");
  rig.core.Trigger("MnuSetStartUpConfigBitSC0_RD");
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame("29R00000")));
  rig.port.clearSentBytes();
  rig.core.Trigger("BMnu_SetDoubleClockMode_RD");
  EXPECT_TRUE(rig.Wire().startsWith(SpecialFrame("31R00000")));
  EXPECT_FALSE(rig.ui.texts().join('|').contains("available only"));
}

TEST(SpecialMenu, ReEnableWarningTurnsEverySwitchOn) {
  test::SimRig rig;
  test::StartOn(rig, "017");
  DatabaseHandlers &catalogue = rig.core.catalogue();
  const StartTipRow rows[] = {StartTipRow::StartTip, StartTipRow::EraseWarning,
                              StartTipRow::LockWarning, StartTipRow::AutoWarning};
  for (const StartTipRow row : rows)
    ASSERT_TRUE(catalogue.SetStartTip(row, false));
  rig.core.Trigger("MnuenableWrn");
  for (const StartTipRow row : rows)
    EXPECT_TRUE(catalogue.StartTipEnabled(row)) << static_cast<int>(row);
  ASSERT_EQ(rig.ui.messages.size(), 1);
  EXPECT_EQ(rig.ui.messages[0].text, QString("Re-enable all Warning messages"));
  EXPECT_EQ(rig.ui.messages[0].icon, MessageIcon::Information);
}

} // namespace
