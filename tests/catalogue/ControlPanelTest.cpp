#include "ControlPanel.h"
#include "ControlLayout.h"
#include "DeviceTraits.h"
#include "Session.h"

#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

const QStringList kFamilySubmenus{
    "Mnu78E",   "Mnu89C66xx",  "Mnu89C51Rx2", "Mnu89C5xX2", "Mnu89C6xX2",  "Mnu89S",     "MnuLPC",
    "mnuRx2XX", "MnuT89C51xx", "MnuFxx",      "MnuCxx",     "Mnu89E564RD", "Mnu89E554RC"};

QStringList DropDownKeys() {
  QStringList keys;
  for (const ControlSpec &spec : ControlLayout())
    if (spec.kind == ControlKind::DropDownEntry)
      keys.append(spec.name);
  return keys;
}

struct Fixture {
  Session session;
  ControlPanel panel{session};
  int rows = 0;
  QString file;

  Fixture() {
    panel.setBufferFacts([this] { return rows; }, [this] { return file; });
  }

  bool Verify(const QString &family, const QString &id) {
    session.DatabaseAvailable = true;
    session.Mcu.FamilyCode = family;
    session.Mcu.MCUIDNumber = id;
    session.SignatureVerified = true;
    panel.SetMenuOptions(false);
    return panel.SetDropDownOptions_Special();
  }

  QSet<QString> VisibleDropDown() const {
    QSet<QString> shown;
    for (const QString &key : DropDownKeys())
      if (panel.isVisible(key))
        shown.insert(key);
    return shown;
  }

  QSet<QString> EnabledSubmenus() const {
    QSet<QString> enabled;
    for (const QString &name : kFamilySubmenus)
      if (panel.isEnabled(name))
        enabled.insert(name);
    return enabled;
  }

  QString MakerMenu() const {
    QStringList on;
    for (const char *name : {"MnuSpecialCmdAtmel", "MnuSpecialCmdPhilips", "MnuSpecialCmdWinBond"})
      if (panel.isEnabled(name))
        on.append(name);
    return on.join(',');
  }
};

struct Capability {
  const char *family;
  const char *id;
  const char *makerMenu;
  QStringList submenus;
  QStringList dropDown; // without the BMnu_ prefix; empty means only "NA"
  bool eraseWithoutSignature;
};

void PrintTo(const Capability &c, std::ostream *os) { *os << c.family << " " << c.id; }

class CapabilitySummary : public ::testing::TestWithParam<Capability> {};

TEST_P(CapabilitySummary, VerifiedDeviceGetsExactlyItsFamilyCommands) {
  const Capability &c = GetParam();
  Fixture f;
  const bool announced = f.Verify(c.family, c.id);

  EXPECT_EQ(f.MakerMenu(), QString(c.makerMenu));
  EXPECT_EQ(f.EnabledSubmenus(), QSet<QString>(c.submenus.begin(), c.submenus.end()));
  QSet<QString> expected;
  for (const QString &entry : c.dropDown)
    expected.insert("BMnu_" + entry);
  if (expected.isEmpty())
    expected.insert("NA");
  EXPECT_EQ(f.VisibleDropDown(), expected);
  EXPECT_EQ(announced, !c.dropDown.isEmpty());
  EXPECT_EQ(f.panel.isEnabled("MnuEraseWithoutSV"), c.eraseWithoutSignature);
}

const char *const A = "MnuSpecialCmdAtmel";
const char *const P = "MnuSpecialCmdPhilips";
const char *const W = "MnuSpecialCmdWinBond";

INSTANTIATE_TEST_SUITE_P(
    Families, CapabilitySummary,
    ::testing::Values(
        Capability{"ATMEL89C", "001", A, {}, {}, true},
        Capability{"ATMEL89L", "010", A, {}, {}, true},
        Capability{"ATMEL89S", "017", A, {"Mnu89S"}, {"ReadEEPROM", "WriteEEPROM"}, true},
        Capability{"ATMEL89S", "016", A, {}, {}, true},
        Capability{"ATMELT89C51xx", "020", "", {"MnuT89C51xx"}, {}, false},
        Capability{"PHILIPS87C", "72", P, {"Mnu89C5xX2"}, {"6xCLK"}, false},
        Capability{"PHILIPS87C", "70", "", {}, {}, false},
        Capability{"PHILIPS89C", "030", "", {}, {}, false},
        Capability{"PHILIPS66X",
                   "039",
                   P,
                   {"Mnu89C66xx"},
                   {"Write8kDataBlock", "Read8kDataBlock", "6xCLK", "StatusByte&BootVector"},
                   false},
        Capability{
            "PHILIPS66X", "038", P, {"Mnu89C66xx"}, {"12xCLK_Rx2", "StatusByte&BootVector"}, false},
        Capability{"PHILIPSRX+", "040", "", {}, {"StatusByte&BootVector"}, false},
        Capability{"PHILIPSRX2",
                   "041",
                   P,
                   {"Mnu89C51Rx2"},
                   {"12xCLK_Rx2", "StatusByte&BootVector"},
                   false},
        Capability{"PHILIPS5xX2", "042", P, {"Mnu89C5xX2"}, {"6xCLK"}, false},
        Capability{
            "PHILIPS6xX2", "043", P, {"Mnu89C6xX2"}, {"6xCLK", "StatusByte&BootVector"}, false},
        Capability{"PHILIPSRx2XX",
                   "044",
                   P,
                   {"mnuRx2XX"},
                   {"Write4kDataBlock", "Read4kDataBlock", "6xCLK", "StatusByte&BootVector"},
                   false},
        Capability{"PHILIPSVRx2XX",
                   "75",
                   "",
                   {"Mnu89E564RD"},
                   {"BlockErase", "SetDoubleClockMode_RD"},
                   false},
        Capability{"PHILIPSVRx2XX", "77", "", {}, {}, false},
        Capability{"PHILIPSLPC",
                   "08B",
                   P,
                   {"MnuLPC"},
                   {"Write32ByteUserP", "Read32ByteUserP", "Read1ByteUCFG1"},
                   false},
        Capability{
            "SSTFXX", "050", "", {"MnuFxx"}, {"WriteSecFlashBlock1", "ReadSecFlashBlock1"}, false},
        Capability{"SSTCXX",
                   "051",
                   "",
                   {"MnuCxx"},
                   {"WriteSecFlashBlock1", "ReadSecFlashBlock1", "ProgramReMapBit"},
                   false},
        Capability{"SST89x5xxRx",
                   "071",
                   "",
                   {"Mnu89E564RD"},
                   {"BlockErase", "SetStartUpConfigBitSC0_RD", "SetDoubleClockMode_RD"},
                   false},
        Capability{"SST89x5xxRx",
                   "76",
                   "",
                   {},
                   {"BlockErase", "SetStartUpConfigBitSC0_RD", "SetDoubleClockMode_RD"},
                   false},
        Capability{"SST89x5xxRx",
                   "072",
                   "",
                   {"Mnu89E554RC"},
                   {"Read8kSecondaryFlashBlock1", "Write8kSecondaryFlashBlock1", "BlockErase_RC",
                    "SetStartUpConfigBitSC0_RC", "SetStartUpConfigBitSC1", "SetDoubleClockMode_RC"},
                   false},
        Capability{"WINBOND78E", "064", W, {"Mnu78E"}, {"WriteLDROM", "ReadLDROM"}, false},
        Capability{"WINBOND78E", "063", W, {"Mnu78E"}, {}, false},
        Capability{"WINBOND78LE", "070", "", {}, {}, false},
        Capability{"DALLASDS89C", "080", "", {}, {}, false},
        Capability{"EEPROM24Cxx", "090", "", {}, {}, false}),
    [](const auto &info) {
      QString name = QString(info.param.family) + "_" + info.param.id;
      name.replace('+', "plus");
      return name.toStdString();
    });

TEST(ControlPanel, BusyLeavesOnlyStop) {
  Fixture f;
  f.rows = 10;
  f.Verify("ATMEL89S", "017");
  f.panel.SetMenuOptions(true);
  for (const char *name :
       {"MnuFile", "MnuSelectDevice", "MnuOperations", "MnuTool", "MnuHelp", "TbnFileOpen",
        "TbnFileSave", "TbnVerifySignature", "TbnBlankCheck", "TbnErase", "TbnLock", "TbnRead",
        "TbnWrite", "TbnAuto", "TbnErase_12v", "TbnErase_5v", "TbnSpecialCommand"})
    EXPECT_FALSE(f.panel.isEnabled(name)) << name;
  EXPECT_TRUE(f.panel.isEnabled("TbnStop"));
  EXPECT_TRUE(f.panel.isVisible("TbnFileOpen"));

  f.panel.SetMenuOptions(false);
  EXPECT_FALSE(f.panel.isEnabled("TbnStop"));
  EXPECT_TRUE(f.panel.isEnabled("TbnWrite"));
  EXPECT_TRUE(f.panel.isEnabled("TbnSpecialCommand"));
}

TEST(ControlPanel, MissingCatalogueLeavesFileToolAndHelp) {
  Fixture f;
  f.session.DatabaseAvailable = false;
  f.panel.SetMenuOptions(false);
  EXPECT_FALSE(f.panel.isEnabled("MnuSelectDevice"));
  EXPECT_FALSE(f.panel.isEnabled("MnuOperations"));
  for (const char *name : {"MnuFile", "MnuTool", "MnuHelp", "TbnFileOpen"})
    EXPECT_TRUE(f.panel.isEnabled(name)) << name;
}

TEST(ControlPanel, UnverifiedDeviceOffersOnlySignatureVerification) {
  Fixture f;
  f.session.DatabaseAvailable = true;
  f.rows = 4;
  f.panel.SetMenuOptions(false);
  EXPECT_FALSE(f.panel.isEnabled("TbnVerifySignature")) << "no device selected";

  f.session.Mcu.FamilyCode = "ATMEL89S";
  f.session.Mcu.MCUIDNumber = "017";
  f.panel.SetMenuOptions(false);
  EXPECT_TRUE(f.panel.isEnabled("TbnVerifySignature"));
  for (const char *name :
       {"TbnBlankCheck", "TbnErase", "TbnLock", "TbnRead", "TbnWrite", "TbnAuto", "TbnErase_12v",
        "TbnErase_5v", "MnuVerifySignature", "MnuWrite", "MnuSpecialCommands"})
    EXPECT_FALSE(f.panel.isEnabled(name)) << name;
}

TEST(ControlPanel, WriteAndAutoNeedAnImage) {
  Fixture f;
  f.Verify("ATMEL89C", "001");
  for (const char *name : {"MnuWrite", "MnuAuto", "TbnWrite", "TbnAuto"})
    EXPECT_FALSE(f.panel.isEnabled(name)) << name;
  for (const char *name : {"TbnRead", "TbnErase", "TbnBlankCheck", "MnuRead", "MnuErase"})
    EXPECT_TRUE(f.panel.isEnabled(name)) << name;

  f.rows = 1;
  f.panel.SetMenuOptions(false);
  for (const char *name : {"MnuWrite", "MnuAuto", "TbnWrite", "TbnAuto"})
    EXPECT_TRUE(f.panel.isEnabled(name)) << name;
}

TEST(ControlPanel, SerialEepromHasNoSignatureLockAutoOrSpecials) {
  Fixture f;
  f.rows = 8;
  f.Verify("EEPROM24Cxx", "090");
  EXPECT_TRUE(f.panel.isEnabled("TbnWrite"));
  EXPECT_TRUE(f.panel.isEnabled("MnuWrite"));
  for (const char *name : {"TbnAuto", "TbnLock", "TbnVerifySignature", "TbnSpecialCommand",
                           "MnuAuto", "MnuLock", "MnuVerifySignature", "MnuSpecialCommands"})
    EXPECT_FALSE(f.panel.isEnabled(name)) << name;

  // Unverified too: the signature button stays off for a 24Cxx part.
  f.session.SignatureVerified = false;
  f.panel.SetMenuOptions(false);
  EXPECT_FALSE(f.panel.isEnabled("TbnVerifySignature"));
}

TEST(ControlPanel, SaveFollowsTheCurrentFile) {
  Fixture f;
  f.session.DatabaseAvailable = true;
  f.panel.SetMenuOptions(false);
  EXPECT_FALSE(f.panel.isEnabled("MnuSave"));
  f.file = "/tmp/prog.hex";
  f.panel.SetMenuOptions(false);
  EXPECT_TRUE(f.panel.isEnabled("MnuSave"));
  EXPECT_TRUE(f.panel.isEnabled("MnuSaveAs"));
  EXPECT_TRUE(f.panel.isEnabled("TbnFileSave"));
}

TEST(ControlPanel, StatusByteTextFollowsTheDevice) {
  Fixture f;
  f.Verify("PHILIPS66X", "039");
  EXPECT_EQ(f.panel.text("BMnu_StatusByte&BootVector"), QString("Status Byte && Boot Vectors"));
  f.Verify("PHILIPSRX2", "041");
  EXPECT_EQ(f.panel.text("BMnu_StatusByte&BootVector"), QString("Status Byte && Boot Vector"));
}

TEST(ControlPanel, NewSelectionKeepsThePreviousDropDownUntilVerified) {
  Fixture f;
  f.Verify("ATMEL89S", "017");
  f.session.SignatureVerified = false;
  f.session.Mcu.FamilyCode = "DALLASDS89C";
  f.session.Mcu.MCUIDNumber = "080";
  f.panel.SetMenuOptions(false);
  EXPECT_TRUE(f.panel.isVisible("BMnu_ReadEEPROM"));
  EXPECT_FALSE(f.panel.isVisible("NA"));
}

TEST(ControlPanel, LayoutNamesAreUniqueAndParentsExist) {
  QSet<QString> names;
  for (const ControlSpec &spec : ControlLayout()) {
    EXPECT_FALSE(names.contains(spec.name)) << spec.name;
    names.insert(spec.name);
    if (*spec.parent) {
      EXPECT_NE(FindControl(spec.parent), nullptr) << spec.name;
    }
  }
}

TEST(DeviceTraits, IdentifiersMatchAsListedRangedOrExcepted) {
  // PHILIPS87C compares the leading digits as a number.
  EXPECT_TRUE(Traits("PHILIPS87C", "074").sixClock87C);
  EXPECT_TRUE(Traits("PHILIPS87C", "71").sixClock87C);
  EXPECT_FALSE(Traits("PHILIPS87C", "75").sixClock87C);
  EXPECT_FALSE(Traits("PHILIPS87C", "7").sixClock87C);
  EXPECT_FALSE(Traits("philips87c", "72").sixClock87C);
  // Every PHILIPSVRx2XX chip but the two-block one shows the clock box.
  EXPECT_FALSE(Traits("PHILIPSVRx2XX", "75").sixClockBox);
  EXPECT_TRUE(Traits("PHILIPSVRx2XX", "75").twoFlashBlocks);
  EXPECT_TRUE(Traits("PHILIPSVRx2XX", "7").sixClockBox);
  // Rows of a family and of one of its chips add up.
  const DeviceTraits p669 = Traits("PHILIPS66X", "039");
  EXPECT_TRUE(p669.unlockReminder && p669.i2cSlaveAddress && p669.lockedCodeReadsZero);
  EXPECT_EQ(p669.dataBlockLength, 8192);
  EXPECT_FALSE(Traits("PHILIPS66X", "0391").i2cSlaveAddress);
  EXPECT_EQ(Traits("PHILIPSLPC", "08C").positioningTip, 1);
  EXPECT_EQ(Traits("PHILIPSLPC", "08D").positioningTip, -1);
}

} // namespace
