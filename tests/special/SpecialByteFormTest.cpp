// The special byte dialog's rules without a line: what Modify unlocks for
// each family, what a set configuration bit leaves to modify, what OK refuses.
#include "SpecialByteForm.h"
#include "BaseModule.h"
#include "FamilyCodes.h"
#include "SpecialCommands.h"

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;

namespace {

SpecialByteForm Opened(const QString &family, const QString &id, const QString &number,
                       const SpecialByteSlots &held = {}) {
  SelectedMcu mcu;
  mcu.FamilyCode = family;
  mcu.MCUIDNumber = id;
  SpecialByteForm form(mcu, held);
  form.LStrCommandNumber(number);
  form.Load();
  return form;
}

// Every control the dialog opens disabled.
const char *const kLocked[] = {
    "Frame1",          "Frame2",          "Frame4",      "TxtSpecialByte1", "TxtSpecialByte2",
    "TxtSpecialByte3", "TxtSpecialByte4", "Opt12xClock", "Opt6xClock",      "chkWDPOR",
    "ChkRB0",          "ChkRB1",          "ChkSC0",      "ChkSC1",          "CmdOk"};

QString EnabledOf(const SpecialByteForm &form) {
  QStringList enabled;
  for (const char *name : kLocked)
    if (form.isEnabled(name))
      enabled.append(name);
  return enabled.join(' ');
}

TEST(SpecialByteForm, ModifyUnlocksWhatTheFamilyMayChange) {
  const struct {
    QString family;
    const char *id;
    bool reminder; // "Ensure MCU is Unlocked before Modifying." shown
    const char *unlocked;
  } cases[] = {
      {PHILIPSLPC, "08B", false, "Frame1 TxtSpecialByte1 TxtSpecialByte2 CmdOk"},
      {PHILIPS5xX2, "73", true, "Frame2 Opt6xClock CmdOk"},
      {PHILIPS87C, "71", true, "Frame2 Opt6xClock CmdOk"},
      {PHILIPS87C, "75", false, "CmdOk"},
      {PHILIPSRx2XX, "04C", true, "Frame1 Frame2 TxtSpecialByte1 TxtSpecialByte2 Opt6xClock CmdOk"},
      {PHILIPS6xX2, "048", true, "Frame1 Frame2 TxtSpecialByte1 TxtSpecialByte2 Opt6xClock CmdOk"},
      {PHILIPS66X, "039", true,
       "Frame1 Frame2 Frame4 TxtSpecialByte1 TxtSpecialByte2 TxtSpecialByte3 TxtSpecialByte4 "
       "Opt6xClock CmdOk"},
      {PHILIPS66X, "035", true, "Frame1 Frame2 TxtSpecialByte1 TxtSpecialByte2 Opt12xClock CmdOk"},
      {PHILIPSRX2, "02C", true, "Frame1 Frame2 TxtSpecialByte1 TxtSpecialByte2 Opt12xClock CmdOk"},
      {PHILIPSRXPlus, "021", false,
       "Frame1 Frame2 TxtSpecialByte1 TxtSpecialByte2 Opt12xClock CmdOk"},
      {DALLASDS89C, "0D0", false, "chkWDPOR CmdOk"},
      {SSTFXX, "0A1", false, "ChkRB0 ChkRB1 CmdOk"},
      {SSTCXX, "0A3", false, "ChkRB0 ChkRB1 CmdOk"},
      {SST89x5xxRx, "072", false, "Frame2 Opt6xClock ChkSC0 CmdOk"},
      {PHILIPSVRx2XX, "04E", false, "Frame2 Opt6xClock CmdOk"},
      {ATMEL89S, "017", false, "CmdOk"},
  };
  for (const auto &c : cases) {
    SpecialByteForm form = Opened(c.family, c.id, "02");
    EXPECT_EQ(EnabledOf(form), QString()) << "opens read-only";
    EXPECT_EQ(form.isVisible("LblMessage"), c.reminder) << c.family.toStdString() << " " << c.id;
    form.Modify();
    EXPECT_EQ(EnabledOf(form), QString(c.unlocked)) << c.family.toStdString() << " " << c.id;
    EXPECT_FALSE(form.isEnabled("CmdModify"));
  }
}

TEST(SpecialByteForm, StatusByteShowsTheBootVectorsTheChipHas) {
  const struct {
    QString family;
    const char *id;
    const char *number;
    const char *labels; // the visible ones, with their boxes
  } cases[] = {{PHILIPSRX2, "02C", "02", "Status Byte|Boot Vector"},
               {PHILIPS66X, "039", "16", "Status Byte|Boot Vector1|Boot Vector2"},
               {PHILIPSLPC, "08B", "52", "UCFG1"}};
  for (const auto &c : cases) {
    const SpecialByteForm form = Opened(c.family, c.id, c.number);
    QStringList shown;
    for (int n = 1; n <= 3; ++n)
      if (form.isVisible(QString("TxtSpecialByte%1").arg(n)))
        shown.append(form.text(QString("LblSpecialByte%1").arg(n)));
    EXPECT_EQ(shown.join('|'), QString(c.labels)) << c.number;
  }
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
    const SpecialByteForm form = Opened(SST89x5xxRx, "072", c.number, held);
    EXPECT_TRUE(form.isVisible(c.box)) << c.number;
    EXPECT_EQ(form.isChecked(c.box), c.ticked) << c.number << " " << c.slot;
    EXPECT_EQ(form.isEnabled("CmdModify"), !c.ticked) << c.number << " " << c.slot;
  }
}

TEST(SpecialByteForm, OkAcceptsTwoHexDigitsInEveryByteItSends) {
  SpecialByteSlots held;
  held.StatusBootSlot1 = held.StatusBootSlot2 = held.StatusBootSlot3 = "00";
  held.Ucfg1Slot = held.I2cAddressSlot = "FF";
  const struct {
    QString family;
    const char *id;
    const char *number;
    const char *box;
    const char *typed;
    bool accepted;
  } cases[] = {
      {PHILIPSRX2, "02C", "02", "TxtSpecialByte2", "123", false},
      {PHILIPSRX2, "02C", "02", "TxtSpecialByte2", "G", false},
      {PHILIPSRX2, "02C", "02", "TxtSpecialByte2", "", false},
      {PHILIPSRX2, "02C", "02", "TxtSpecialByte2", " 1F2", false},
      {PHILIPSRX2, "02C", "02", "TxtSpecialByte2", " 1f ", true},
      {PHILIPS66X, "039", "16", "TxtSpecialByte3", "G", false},
      {PHILIPS66X, "039", "42", "TxtSpecialByte4", "", false},
      {PHILIPSLPC, "08B", "52", "TxtSpecialByte2", "zz", true}, // hidden for UCFG1
  };
  for (const auto &c : cases) {
    SpecialByteForm form = Opened(c.family, c.id, c.number, held);
    form.Modify();
    form.TypeText(c.box, c.typed);
    EXPECT_EQ(form.Ok().has_value(), c.accepted) << c.number << " '" << c.typed << "'";
  }
}

TEST(SpecialByteForm, TheTwoClockOptionsAreOneChoice) {
  SpecialByteSlots held;
  held.ClockModeSlot = "00";
  SpecialByteForm form = Opened(PHILIPSRX2, "02C", "04", held);
  EXPECT_TRUE(form.isChecked("Opt6xClock"));
  form.SetChecked("Opt12xClock", true);
  EXPECT_FALSE(form.isChecked("Opt6xClock"));
  form.SetChecked("Opt6xClock", true);
  EXPECT_FALSE(form.isChecked("Opt12xClock"));
}

TEST(SpecialByteBlock, SixteenBytesWithNoDataAsFF) {
  const QByteArray block = EncodeSpecialBytes("5AXX  zz0");
  ASSERT_EQ(block.size(), 32);
  EXPECT_EQ(block.left(2), QByteArray("%*"));
  EXPECT_EQ(block.mid(2), QByteArray(30, '/')) << "XX, blank, not hex, a lone digit, missing";
}

} // namespace
