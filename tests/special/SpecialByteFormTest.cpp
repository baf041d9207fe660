// The special byte dialog's rules: what opens, what Modify unlocks, what
// OK accepts and sends.
#include "SpecialByteForm.h"
#include "BaseModule.h"
#include "FamilyCodes.h"
#include "SpecialCommands.h"

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;

namespace {

SelectedMcu Device(const QString &family, const QString &id) {
  SelectedMcu mcu;
  mcu.FamilyCode = family;
  mcu.MCUIDNumber = id;
  return mcu;
}

SpecialByteForm Opened(const SelectedMcu &mcu, const QString &number,
                       const SpecialByteSlots &held = {}) {
  SpecialByteForm form(mcu, held);
  form.LStrCommandNumber(number);
  form.Load();
  return form;
}

const char *const kEditable[] = {
    "Frame1",          "Frame2",          "Frame4",      "TxtSpecialByte1", "TxtSpecialByte2",
    "TxtSpecialByte3", "TxtSpecialByte4", "Opt12xClock", "Opt6xClock",      "chkWDPOR",
    "ChkRB0",          "ChkRB1",          "ChkSC0",      "ChkSC1",          "CmdOk"};

QStringList EnabledOf(const SpecialByteForm &form) {
  QStringList enabled;
  for (const char *name : kEditable)
    if (form.isEnabled(name))
      enabled.append(name);
  return enabled;
}

TEST(SpecialByteForm, OpensReadOnlyAndModifyUnlocksWhatTheFamilyMayChange) {
  SpecialByteSlots held;
  held.ClockModeSlot = "FF";
  SpecialByteForm x2 = Opened(Device(PHILIPS87C, "71"), "12", held);
  EXPECT_EQ(EnabledOf(x2), QStringList());
  EXPECT_TRUE(x2.isChecked("Opt12xClock"));
  EXPECT_TRUE(x2.isVisible("LblMessage_1"));
  x2.Modify();
  EXPECT_EQ(EnabledOf(x2), (QStringList{"Frame2", "Opt6xClock", "CmdOk"}));
  EXPECT_FALSE(x2.isEnabled("CmdModify"));

  SpecialByteForm other87C = Opened(Device(PHILIPS87C, "75"), "12", held);
  EXPECT_FALSE(other87C.isVisible("LblMessage_1"));
  other87C.Modify();
  EXPECT_EQ(EnabledOf(other87C), QStringList{"CmdOk"});

  SpecialByteForm lpc = Opened(Device(PHILIPSLPC, "08B"), "52");
  lpc.Modify();
  EXPECT_EQ(EnabledOf(lpc), (QStringList{"Frame1", "TxtSpecialByte1", "TxtSpecialByte2", "CmdOk"}));
  EXPECT_FALSE(lpc.isEditable("TxtSpecialByte2")) << "hidden for UCFG1";
}

TEST(SpecialByteForm, ConfigurationBitAlreadySetLeavesNothingToModify) {
  const struct {
    const char *number;
    const char *slot;
    const char *box;
    bool ticked;
  } cases[] = {{"36", "08", "ChkSC0", true},
               {"36", "10", "ChkSC0", false},
               {"29", "00", "ChkSC0", false},
               {"38", "10", "ChkSC1", true},
               {"38", "08", "ChkSC1", false}};
  for (const auto &c : cases) {
    SpecialByteSlots held;
    held.ConfigBitSlot = c.slot;
    const SpecialByteForm form = Opened(Device(SST89x5xxRx, "072"), c.number, held);
    EXPECT_TRUE(form.isVisible(c.box)) << c.number;
    EXPECT_EQ(form.isChecked(c.box), c.ticked) << c.number << " " << c.slot;
    EXPECT_EQ(form.isEnabled("CmdModify"), !c.ticked) << c.number << " " << c.slot;
  }
}

TEST(SpecialByteForm, OkAcceptsTwoHexDigitsPerByteOnly) {
  SpecialByteSlots held;
  held.StatusBootSlot1 = "00";
  held.StatusBootSlot2 = "FC";
  SpecialByteForm form = Opened(Device(PHILIPSRX2, "02C"), "02", held);
  form.Modify();
  for (const char *refused : {"123", "G", "", " 1F2"}) {
    form.TypeText("TxtSpecialByte2", refused);
    EXPECT_FALSE(form.Ok()) << refused;
  }
  form.TypeText("TxtSpecialByte1", " 3 ");
  form.TypeText("TxtSpecialByte2", "1f");
  const auto send = form.Ok();
  ASSERT_TRUE(send);
  EXPECT_EQ(send->kind, SpecialByteForm::Send::Kind::WriteBytes);
  EXPECT_EQ(send->number, QString("03"));
  EXPECT_EQ(send->hexText, QString("031F"));
}

TEST(SpecialByteForm, OkSendsTheSetCommandOnlyForTheChosenMode) {
  SpecialByteSlots held;
  held.ClockModeSlot = "00";
  SpecialByteForm twelve = Opened(Device(PHILIPSRX2, "02C"), "04", held);
  twelve.Modify();
  EXPECT_EQ(twelve.Ok()->kind, SpecialByteForm::Send::Kind::Nothing) << "6x selected";
  twelve.SetChecked("Opt12xClock", true);
  EXPECT_FALSE(twelve.isChecked("Opt6xClock"));
  EXPECT_EQ(twelve.Ok()->number, QString("01"));

  held.ClockModeSlot = "FF";
  SpecialByteForm six = Opened(Device(PHILIPS6xX2, "048"), "14", held);
  six.Modify();
  EXPECT_FALSE(six.isEditable("Opt12xClock"));
  EXPECT_EQ(six.Ok()->kind, SpecialByteForm::Send::Kind::Nothing) << "12x selected";
  six.SetChecked("Opt6xClock", true);
  EXPECT_EQ(six.Ok()->number, QString("15"));

  held.OptionControlSlot = "00";
  SpecialByteForm watchdog = Opened(Device(DALLASDS89C, "0D0"), "20", held);
  EXPECT_TRUE(watchdog.isVisible("Frame3"));
  watchdog.Modify();
  EXPECT_TRUE(watchdog.isEditable("chkWDPOR"));
  EXPECT_EQ(watchdog.Ok()->kind, SpecialByteForm::Send::Kind::Nothing);
  watchdog.SetChecked("chkWDPOR", true);
  EXPECT_EQ(watchdog.Ok()->number, QString("21"));
}

TEST(SpecialByteBlock, SixteenBytesWithNoDataAsFF) {
  const QByteArray block = EncodeSpecialBytes("5AXX  zz0");
  ASSERT_EQ(block.size(), 32);
  EXPECT_EQ(block.left(2), QByteArray("%*"));
  EXPECT_EQ(block.mid(2), QByteArray(30, '/')) << "XX, blank, not hex, a lone digit, missing";
}

} // namespace
