#include "SpecialMenu.h"

#include "BaseModule.h"
#include "ControlPanel.h"
#include "DatabaseHandlers.h"
#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "OperationSupport.h"
#include "Session.h"
#include "SpecialCommands.h"
#include "Ui.h"

#include <vector>

namespace kvr {

using namespace BaseModule;

namespace {

using McuTest = bool (*)(const SelectedMcu &);

bool Anything(const SelectedMcu &) { return true; }
bool Atmel89S(const SelectedMcu &m) { return m.FamilyCode == ATMEL89S; }
bool Philips66X(const SelectedMcu &m) { return m.FamilyCode == PHILIPS66X; }
bool P89C669(const SelectedMcu &m) { return Traits(m).i2cSlaveAddress; }
bool PhilipsRX2(const SelectedMcu &m) { return m.FamilyCode == PHILIPSRX2; }
bool PhilipsRXPlus(const SelectedMcu &m) { return m.FamilyCode == PHILIPSRXPlus; }
bool Philips5xX2(const SelectedMcu &m) { return m.FamilyCode == PHILIPS5xX2; }
bool Philips87C(const SelectedMcu &m) { return m.FamilyCode == PHILIPS87C; }
bool SixClock87C(const SelectedMcu &m) { return Traits(m).sixClock87C; }
bool Philips6xX2(const SelectedMcu &m) { return m.FamilyCode == PHILIPS6xX2; }
bool PhilipsLPC(const SelectedMcu &m) { return m.FamilyCode == PHILIPSLPC; }
bool PhilipsRx2XX(const SelectedMcu &m) { return m.FamilyCode == PHILIPSRx2XX; }
bool SstCxxOrFxx(const SelectedMcu &m) { return m.FamilyCode == SSTCXX || m.FamilyCode == SSTFXX; }
bool Sst89x5xxRx(const SelectedMcu &m) { return m.FamilyCode == SST89x5xxRx; }
bool LdRomWinbond(const SelectedMcu &m) { return Traits(m).ldRom; }

// The first route whose test the selected device passes gives the number; a
// route without a number accepts the device and does nothing.
struct Route {
  McuTest accepts;
  const char *number;
};

struct Entry {
  const char *name;
  std::vector<Route> routes;
  // What follows "This operation is available only for " when no route
  // accepts the device; nullptr: the entry then does nothing.
  const char *refusal;
  char mode;
};

constexpr char S = SpecialModeSet;
constexpr char R = CmdRead;
constexpr char W = CmdWrite;

const char *const kAtmel89S = "ATMEL89S range of MCUs.";
const char *const k66X = "PHILIPS66X range of MCUs.";
const char *const k669 = "MCUPHILIPS669";
const char *const kRX2 = "PHILIPSRX2 range of MCUs.";
const char *const k6xX2 = "PHILIPS6xX2 range of MCUs.";
const char *const kLPC = "PHILIPSLPC range of MCUs.";
const char *const kRx2XX = "PHILIPSRx2XX range of MCUs.";
const char *const kSstCF = "SSTCXX and SSTFXX range of MCUs.";
const char *const kSstRx = "SST89x5xxRx range of MCUs.";

// The re-map bits belong to the Cxx and Fxx chips both, as the refusal says.
// clang-format off
const std::vector<Entry> kEntries{
    // Menu entries.
    {"MnuRead2kEEPROM", {{Atmel89S, "08"}}, kAtmel89S, R},
    {"MnuWrite2kEEPROM", {{Atmel89S, "09"}}, kAtmel89S, W},
    {"MnuSet6xClockMode_669", {{Philips66X, "14"}}, k66X, S},
    {"MnuStatusByteBootVector669", {{Philips66X, "16"}}, k669, R},
    {"mnuRead8kDataBlock", {{Philips66X, "18"}}, k66X, R},
    {"mnuWrite8kDataBlock", {{Philips66X, "19"}}, k66X, W},
    {"mnuI2CSlaveAddress", {{Philips66X, "42"}}, k669, R},
    {"MnuSet12xClockMode66x", {{Philips66X, "04"}}, k66X, S},
    {"MnuStatusByteBootVector66x", {{Philips66X, "02"}}, k66X, R},
    {"MnuSet12xClockModeRx2", {{PhilipsRX2, "04"}}, kRX2, S},
    {"MnuStatusByteBootVector_Rx2", {{PhilipsRX2, "02"}}, kRX2, R},
    {"MnuSet6xClockMode_5xX2", {{Philips5xX2, "11"}, {SixClock87C, "12"}, {Philips87C, nullptr}},
     "PHILIPS5xX2, PHILIPS87C range of MCUs.", S},
    {"MnuSet6xClockMode_6xX2", {{Philips6xX2, "14"}}, k6xX2, S},
    {"MnuStatusByteBootVector_6xX2", {{Philips6xX2, "16"}}, k6xX2, R},
    {"MnuRead32byteUsersParameter", {{PhilipsLPC, "50"}}, kLPC, R},
    {"MnuWrite32byteUsersParameter", {{PhilipsLPC, "51"}}, kLPC, W},
    {"Mnu1byteUCFG1", {{PhilipsLPC, "52"}}, kLPC, R},
    {"MnuSet6xClockMode_Rx2XX", {{PhilipsRx2XX, "14"}}, kRx2XX, S},
    {"MnuStausByteBootVector_Rx2XX", {{PhilipsRx2XX, "16"}}, kRx2XX, R},
    {"mnuRead4kDataBlock", {{PhilipsRx2XX, "18"}}, kRx2XX, R},
    {"mnuWrite4kDataBlock", {{PhilipsRx2XX, "19"}}, kRx2XX, W},
    {"MnuReadSecFlashBlock1_Cxx", {{SstCxxOrFxx, "22"}}, kSstCF, R},
    {"MnuReadSecFlashBlock1_Fxx", {{SstCxxOrFxx, "22"}}, kSstCF, R},
    {"MnuWriteSecFlashBlock1_Cxx", {{SstCxxOrFxx, "23"}}, kSstCF, W},
    {"MnuWriteSecFlashBlock1_Fxx", {{SstCxxOrFxx, "23"}}, kSstCF, W},
    {"MnuProgramReMapBit", {{SstCxxOrFxx, "24"}}, kSstCF, R},
    {"MnuSetStartUpConfigBitSC0_RD", {{Anything, "29"}}, nullptr, S},
    {"MnuSetDoubleClockMode_RD", {{Anything, "31"}}, nullptr, S},
    {"MnuRead8kSecondaryFlashBlock1", {{Sst89x5xxRx, "33"}}, kSstRx, R},
    {"MnuWrite8kSecondaryFlashBlock1", {{Sst89x5xxRx, "34"}}, kSstRx, W},
    {"MnuSetStartUpConfigBitSC0_RC", {{Sst89x5xxRx, "36"}}, kSstRx, S},
    {"Mnu_SetStartUpConfigBitSC1", {{Sst89x5xxRx, "38"}}, kSstRx, S},
    {"MnuSetDoubleClockMode_RC", {{Sst89x5xxRx, "40"}}, kSstRx, S},
    {"MnuRead4kLDROM", {{LdRomWinbond, "06"}}, "WINBOND78E 58B and 516B range of MCUs.", R},
    {"MnuWrite4kLDROM", {{LdRomWinbond, "07"}}, "WINBOND78E58B and 516B range of MCUs.", W},
    // Drop-down entries: shown only for the families they serve, so they
    // check nothing but which number the family takes.
    {"BMnu_6xCLK", {{Philips5xX2, "11"}, {SixClock87C, "12"}, {Philips87C, nullptr}, {Anything, "14"}},
     nullptr, S},
    {"BMnu_12xCLK_Rx2", {{Anything, "04"}}, nullptr, S},
    {"BMnu_Read32ByteUserP", {{Anything, "50"}}, nullptr, R},
    {"BMnu_Write32ByteUserP", {{Anything, "51"}}, nullptr, W},
    {"BMnu_Read1ByteUCFG1", {{Anything, "52"}}, nullptr, R},
    {"BMnu_StatusByte&BootVector", {{P89C669, "16"}, {Philips66X, "02"}, {PhilipsRX2, "02"},
     {PhilipsRXPlus, "02"}, {Philips6xX2, "16"}, {PhilipsRx2XX, "16"}}, nullptr, R},
    {"BMnu_ReadLDROM", {{Anything, "06"}}, nullptr, R},
    {"BMnu_WriteLDROM", {{Anything, "07"}}, nullptr, W},
    {"BMnu_ReadEEPROM", {{Anything, "08"}}, nullptr, R},
    {"BMnu_WriteEEPROM", {{Anything, "09"}}, nullptr, W},
    {"BMnu_Read4kDataBlock", {{Anything, "18"}}, nullptr, R},
    {"BMnu_Read8kDataBlock", {{Anything, "18"}}, nullptr, R},
    {"BMnu_Write4kDataBlock", {{Anything, "19"}}, nullptr, W},
    {"BMnu_Write8kDataBlock", {{Anything, "19"}}, nullptr, W},
    {"BMnu_OptionControlRegister", {{Anything, "20"}}, nullptr, R},
    {"BMnu_ReadSecFlashBlock1", {{Anything, "22"}}, nullptr, R},
    {"BMnu_WriteSecFlashBlock1", {{Anything, "23"}}, nullptr, W},
    {"BMnu_ProgramReMapBit", {{Anything, "24"}}, nullptr, R},
};

// Drop-down entries that run a menu entry, with its family check.
const std::vector<std::pair<const char *, const char *>> kDropDownToMenu{
    {"BMnu_SetStartUpConfigBitSC0_RD", "MnuSetStartUpConfigBitSC0_RD"},
    {"BMnu_SetStartUpConfigBitSC0_RC", "MnuSetStartUpConfigBitSC0_RC"},
    {"BMnu_SetStartUpConfigBitSC1", "Mnu_SetStartUpConfigBitSC1"},
    {"BMnu_SetDoubleClockMode_RD", "MnuSetDoubleClockMode_RD"},
    {"BMnu_SetDoubleClockMode_RC", "MnuSetDoubleClockMode_RC"},
    {"BMnu_Read8kSecondaryFlashBlock1", "MnuRead8kSecondaryFlashBlock1"},
    {"BMnu_Write8kSecondaryFlashBlock1", "MnuWrite8kSecondaryFlashBlock1"},
};
// clang-format on

const Entry *FindEntry(const QString &name) {
  for (const Entry &entry : kEntries)
    if (name == QLatin1String(entry.name))
      return &entry;
  for (const auto &[dropDown, menu] : kDropDownToMenu)
    if (name == QLatin1String(dropDown))
      return FindEntry(QLatin1String(menu));
  return nullptr;
}

} // namespace

QStringList SpecialMenu::EntryNames() {
  QStringList names;
  for (const Entry &entry : kEntries)
    names.append(QLatin1String(entry.name));
  for (const auto &[dropDown, menu] : kDropDownToMenu)
    names.append(QLatin1String(dropDown));
  return names;
}

std::optional<std::pair<QString, char>> SpecialMenu::Sends(const QString &name,
                                                           const SelectedMcu &mcu) {
  const Entry *entry = FindEntry(name);
  if (!entry)
    return std::nullopt;
  for (const Route &route : entry->routes) {
    if (!route.accepts(mcu))
      continue;
    if (!route.number)
      return std::nullopt;
    return std::pair(QString::fromLatin1(route.number), entry->mode);
  }
  return std::nullopt;
}

void SpecialMenu::Click(const QString &name) {
  const Entry *entry = FindEntry(name);
  if (!entry)
    return;
  for (const Route &route : entry->routes) {
    if (!route.accepts(c_.session.Mcu))
      continue;
    if (route.number)
      commands_.SpecialCommand(QLatin1String(route.number), entry->mode);
    return;
  }
  // A wrong family never reaches the programmer.
  if (entry->refusal)
    c_.ui.message(OperationText::OnlyFor + QLatin1String(entry->refusal), MessageIcon::Exclamation);
}

void SpecialMenu::MnuenableWrn_Click() {
  bool enabled = false;
  {
    BusyPointer busy(c_.ui);
    enabled = c_.catalogue.EnableAllStartTips();
  }
  // Without a writable catalogue the switches stay as they were: no success to report.
  if (enabled)
    c_.ui.message(SpecialMenuText::WarningsEnabled, MessageIcon::Information);
  else
    c_.ui.message(SpecialMenuText::WarningsNotEnabled, MessageIcon::Exclamation);
}

} // namespace kvr
