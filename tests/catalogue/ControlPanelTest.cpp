#include "ControlPanel.h"
#include "ControlLayout.h"
#include "DeviceTraits.h"
#include "Session.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <gtest/gtest.h>

using namespace kvr;

namespace {

QStringList Names(const char *spaced) { return QString(spaced).split(' ', Qt::SkipEmptyParts); }

struct Fixture {
  Session session;
  ControlPanel panel{session};
  int rows = 0;
  QString file;

  Fixture() {
    panel.setBufferFacts([this] { return rows; }, [this] { return file; });
  }

  void Select(const char *device) {
    const QStringList words = Names(device);
    session.Mcu.FamilyCode = words.value(0);
    session.Mcu.MCUIDNumber = words.value(1);
  }

  bool Verify(const char *device) {
    session.DatabaseAvailable = true;
    Select(device);
    session.SignatureVerified = true;
    panel.SetMenuOptions(false);
    return panel.SetDropDownOptions_Special();
  }

  // The names of the list that the panel shows (visible) or enables.
  QSet<QString> Among(const QStringList &names, bool visible) const {
    QSet<QString> on;
    for (const QString &name : names)
      if (visible ? panel.isVisible(name) : panel.isEnabled(name))
        on.insert(name);
    return on;
  }
};

// The drop-down entries, or the submenus of the makers' special command menus.
QStringList LayoutNames(bool dropDown) {
  QStringList names;
  for (const ControlSpec &spec : ControlLayout())
    if (dropDown
            ? spec.kind == ControlKind::DropDownEntry
            : spec.kind == ControlKind::Menu && QString(spec.parent).startsWith("MnuSpecialCmd"))
      names.append(spec.name);
  return names;
}

bool InSpecialCommands(const char *name) {
  for (const ControlSpec *at = FindControl(name); at; at = FindControl(at->parent))
    if (QString(at->name) == "MnuSpecialCommands")
      return true;
  return false;
}

QSet<QString> SetOf(const QStringList &names) { return QSet<QString>(names.begin(), names.end()); }

// One row per family, and one more per device that has facts of its own.
struct Capability {
  const char *device;   // "FAMILY id"
  const char *maker;    // the maker's special command menu: MnuSpecialCmd + this, if any
  const char *submenu;  // family submenu enabled, if any
  const char *dropDown; // drop-down entries without the BMnu_ prefix; empty: only "NA"
};

void PrintTo(const Capability &c, std::ostream *os) { *os << c.device; }

class CapabilitySummary : public ::testing::TestWithParam<Capability> {};

TEST_P(CapabilitySummary, VerifiedDeviceGetsExactlyItsFamilyCommands) {
  const Capability &c = GetParam();
  Fixture f;
  const bool announced = f.Verify(c.device);

  QStringList makers = Names(c.maker), dropDown = Names(c.dropDown);
  makers.replaceInStrings(QRegularExpression("^"), "MnuSpecialCmd");
  dropDown.replaceInStrings(QRegularExpression("^"), "BMnu_");
  EXPECT_EQ(f.Among({"MnuSpecialCmdAtmel", "MnuSpecialCmdPhilips", "MnuSpecialCmdWinBond"}, false),
            SetOf(makers));
  EXPECT_EQ(f.panel.isEnabled("MnuEraseWithoutSV"), QString(c.maker) == "Atmel");
  EXPECT_EQ(f.Among(LayoutNames(false), false), SetOf(Names(c.submenu)));
  EXPECT_EQ(announced, !dropDown.isEmpty());
  EXPECT_EQ(f.Among(LayoutNames(true), true),
            SetOf(dropDown.isEmpty() ? QStringList{"NA"} : dropDown));
  for (const QString &entry : dropDown) // shown, and not greyed
    EXPECT_TRUE(f.panel.isEnabled(entry)) << entry.toStdString();
  // Below the makers' menus an entry of a menu that can be opened is either there to click
  // or not there at all: neither hidden yet enabled nor shown greyed.
  for (const ControlSpec &spec : ControlLayout())
    if (spec.kind == ControlKind::Entry && InSpecialCommands(spec.parent) &&
        f.panel.isOffered(spec.parent)) {
      EXPECT_EQ(f.panel.isEnabled(spec.name), f.panel.isVisible(spec.name)) << spec.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, CapabilitySummary,
    ::testing::Values(
        Capability{"ATMEL89C 001", "Atmel", "", ""}, Capability{"ATMEL89L 010", "Atmel", "", ""},
        Capability{"ATMEL89S 017", "Atmel", "Mnu89S", "ReadEEPROM WriteEEPROM"},
        Capability{"ATMEL89S 016", "Atmel", "", ""},
        Capability{"ATMELT89C51xx 020", "", "MnuT89C51xx", ""},
        Capability{"PHILIPS87C 72", "Philips", "Mnu89C5xX2", "6xCLK"},
        Capability{"PHILIPS87C 70", "", "", ""}, Capability{"PHILIPS89C 030", "", "", ""},
        Capability{"PHILIPS66X 039", "Philips", "Mnu89C66xx",
                   "Write8kDataBlock Read8kDataBlock 6xCLK StatusByte&BootVector"},
        Capability{"PHILIPS66X 038", "Philips", "Mnu89C66xx", "12xCLK_Rx2 StatusByte&BootVector"},
        Capability{"PHILIPSRX+ 040", "", "", "StatusByte&BootVector"},
        Capability{"PHILIPSRX2 041", "Philips", "Mnu89C51Rx2", "12xCLK_Rx2 StatusByte&BootVector"},
        Capability{"PHILIPS5xX2 042", "Philips", "Mnu89C5xX2", "6xCLK"},
        Capability{"PHILIPS6xX2 043", "Philips", "Mnu89C6xX2", "6xCLK StatusByte&BootVector"},
        Capability{"PHILIPSRx2XX 044", "Philips", "mnuRx2XX",
                   "Write4kDataBlock Read4kDataBlock 6xCLK StatusByte&BootVector"},
        Capability{"PHILIPSVRx2XX 75", "", "Mnu89E564RD", "BlockErase SetDoubleClockMode_RD"},
        Capability{"PHILIPSVRx2XX 77", "", "", ""},
        Capability{"PHILIPSLPC 08B", "Philips", "MnuLPC",
                   "Write32ByteUserP Read32ByteUserP Read1ByteUCFG1"},
        Capability{"SSTFXX 050", "", "MnuFxx", "WriteSecFlashBlock1 ReadSecFlashBlock1"},
        Capability{"SSTCXX 051", "", "MnuCxx",
                   "WriteSecFlashBlock1 ReadSecFlashBlock1 ProgramReMapBit"},
        Capability{"SST89x5xxRx 071", "", "Mnu89E564RD",
                   "BlockErase SetStartUpConfigBitSC0_RD SetDoubleClockMode_RD"},
        Capability{"SST89x5xxRx 76", "", "",
                   "BlockErase SetStartUpConfigBitSC0_RD SetDoubleClockMode_RD"},
        Capability{"SST89x5xxRx 072", "", "Mnu89E554RC",
                   "Read8kSecondaryFlashBlock1 Write8kSecondaryFlashBlock1 BlockErase_RC "
                   "SetStartUpConfigBitSC0_RC SetStartUpConfigBitSC1 SetDoubleClockMode_RC"},
        Capability{"WINBOND78E 064", "WinBond", "Mnu78E", "WriteLDROM ReadLDROM"},
        Capability{"WINBOND78E 063", "WinBond", "Mnu78E", ""},
        Capability{"WINBOND78LE 070", "", "", ""}, Capability{"DALLASDS89C 080", "", "", ""},
        Capability{"EEPROM24Cxx 090", "", "", ""}),
    [](const auto &info) {
      QString name = info.param.device;
      name.replace(' ', '_').replace('+', "plus");
      return name.toStdString();
    });

// The menus and buttons in each state of the program; a name in neither list is not looked at.
struct PanelState {
  const char *name;
  bool database;
  const char *device; // "FAMILY id", or empty
  bool verified;
  int rows;
  const char *file;
  bool busy;
  const char *enabled;
  const char *disabled;
};

void PrintTo(const PanelState &s, std::ostream *os) { *os << s.name; }

class ControlStates : public ::testing::TestWithParam<PanelState> {};

TEST_P(ControlStates, EnableExactlyWhatTheStateAllows) {
  const PanelState &s = GetParam();
  Fixture f;
  f.session.DatabaseAvailable = s.database;
  f.Select(s.device);
  f.session.SignatureVerified = s.verified;
  f.rows = s.rows;
  f.file = s.file;
  f.panel.SetMenuOptions(!s.busy); // each state is whole whatever came before it
  f.panel.SetMenuOptions(s.busy);
  EXPECT_EQ(f.Among(Names(s.enabled), false), SetOf(Names(s.enabled)));
  EXPECT_EQ(f.Among(Names(s.disabled), false), QSet<QString>());
  EXPECT_TRUE(f.panel.isVisible("TbnFileOpen"));
  // The window redraws a control for each change it hears of: a real one.
  const auto state = [&](const QString &name) {
    return QStringList{QString::number(f.panel.isEnabled(name)),
                       QString::number(f.panel.isVisible(name)), f.panel.text(name),
                       QString::number(f.panel.value(name))}
        .join(' ')
        .toStdString();
  };
  QHash<QString, std::string> heard;
  for (const ControlSpec &spec : ControlLayout())
    heard[spec.name] = state(spec.name);
  QObject::connect(&f.panel, &ControlPanel::stateChanged, [&](const QString &name) {
    EXPECT_NE(state(name), heard[name]) << name.toStdString() << " did not change";
    heard[name] = state(name);
  });
  f.panel.SetMenuOptions(s.busy);
}

INSTANTIATE_TEST_SUITE_P(
    Panel, ControlStates,
    ::testing::Values(
        PanelState{"Busy", true, "ATMEL89S 017", true, 10, "/tmp/a.bin", true, "TbnStop",
                   "MnuFile MnuSelectDevice MnuOperations MnuTool MnuHelp TbnFileOpen TbnFileSave "
                   "TbnVerifySignature TbnBlankCheck TbnErase TbnLock TbnRead TbnWrite TbnAuto "
                   "TbnErase_12v TbnErase_5v TbnSpecialCommand"},
        PanelState{"Idle", true, "ATMEL89S 017", true, 10, "", false,
                   "TbnWrite TbnSpecialCommand TbnRead TbnErase TbnBlankCheck MnuRead MnuErase",
                   "TbnStop MnuSave"},
        PanelState{"NoCatalogue", false, "", false, 0, "", false,
                   "MnuFile MnuTool MnuHelp TbnFileOpen", "MnuSelectDevice MnuOperations"},
        PanelState{"NoDevice", true, "", false, 4, "", false, "", "TbnVerifySignature"},
        PanelState{"Unverified", true, "ATMEL89S 017", false, 4, "", false, "TbnVerifySignature",
                   "TbnBlankCheck TbnErase TbnLock TbnRead TbnWrite TbnAuto TbnErase_12v "
                   "TbnErase_5v MnuVerifySignature MnuWrite MnuSpecialCommands"},
        PanelState{"NoImage", true, "ATMEL89C 001", true, 0, "", false,
                   "TbnRead TbnErase TbnBlankCheck MnuRead MnuErase",
                   "MnuWrite MnuAuto TbnWrite TbnAuto"},
        PanelState{"OneRow", true, "ATMEL89C 001", true, 1, "", false,
                   "MnuWrite MnuAuto TbnWrite TbnAuto", ""},
        PanelState{"CurrentFile", true, "", false, 0, "/tmp/prog.hex", false,
                   "MnuSave MnuSaveAs TbnFileSave", ""},
        PanelState{"Eeprom", true, "EEPROM24Cxx 090", true, 8, "", false, "TbnWrite MnuWrite",
                   "TbnAuto TbnLock TbnVerifySignature TbnSpecialCommand MnuAuto MnuLock "
                   "MnuVerifySignature MnuSpecialCommands"},
        // Unverified too: the signature button stays off for a 24Cxx part.
        PanelState{"UnverifiedEeprom", true, "EEPROM24Cxx 090", false, 8, "", false, "",
                   "TbnVerifySignature"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ControlPanel, StatusByteTextFollowsTheDeviceAndANewSelectionKeepsTheDropDownUntilVerified) {
  Fixture f;
  f.Verify("PHILIPS66X 039");
  EXPECT_EQ(f.panel.text("BMnu_StatusByte&BootVector"), QString("Status Byte && Boot Vectors"));
  f.Verify("PHILIPSRX2 041");
  EXPECT_EQ(f.panel.text("BMnu_StatusByte&BootVector"), QString("Status Byte && Boot Vector"));

  f.session.SignatureVerified = false;
  f.Select("DALLASDS89C 080");
  f.panel.SetMenuOptions(false);
  EXPECT_TRUE(f.panel.isVisible("BMnu_12xCLK_Rx2"));
  EXPECT_FALSE(f.panel.isVisible("NA"));
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
