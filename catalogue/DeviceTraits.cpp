#include "DeviceTraits.h"

#include "FamilyCodes.h"
#include "Session.h"

#include <QStringList>

namespace kvr {

using namespace BaseModule;

namespace {

enum Trait : unsigned {
  TwoFlashBlocks = 1u << 0,
  BootBlockWarnings = 1u << 1,
  LockedCodeReadsZero = 1u << 2,
  SixClockBox = 1u << 3,
  SixClockAfterWrite = 1u << 4,
  SixClock87C = 1u << 5,
  I2cSlaveAddress = 1u << 6,
  SecondBootVector = 1u << 7,
  DataEeprom = 1u << 8,
  LdRom = 1u << 9,
  RdSubmenu = 1u << 10,
  RcCommands = 1u << 11,
  UnlockReminder = 1u << 12,
};

// ids: space-separated identifiers; empty for the whole family; "!" before
// them for every identifier but those; "n-m" for the numeric identifiers n to
// m. Every row that matches adds its traits.
struct TraitRow {
  const QString &family;
  const char *ids;
  unsigned traits;
  int dataBlockLength;
  int positioningTip;
};

// clang-format off
const TraitRow kRows[] = {
    // family       ids        traits                                                 data block  tip
    {SSTCXX,        "",        LockedCodeReadsZero,                                   0,          -1},
    {SSTFXX,        "",        LockedCodeReadsZero,                                   0,          -1},
    {SST89x5xxRx,   "071",     TwoFlashBlocks | RdSubmenu,                            0,          -1},
    {SST89x5xxRx,   "76",      TwoFlashBlocks,                                        0,          -1},
    {SST89x5xxRx,   "072",     RcCommands,                                            0,          -1},
    {PHILIPSVRx2XX, "75",      TwoFlashBlocks | BootBlockWarnings | LockedCodeReadsZero | RdSubmenu,
                                                                                      0,          -1},
    {PHILIPSVRx2XX, "!75",     SixClockBox,                                           0,          -1},
    {PHILIPS66X,    "",        UnlockReminder,                                        0,          -1},
    {PHILIPS66X,    "039",     SixClockBox | SixClockAfterWrite | I2cSlaveAddress | SecondBootVector |
                               LockedCodeReadsZero,                                   8192,       -1},
    {PHILIPS6xX2,   "",        SixClockBox | SixClockAfterWrite | UnlockReminder,     0,          -1},
    {PHILIPSRx2XX,  "",        SixClockAfterWrite | UnlockReminder,                   4096,       -1},
    {PHILIPSRX2,    "",        UnlockReminder,                                        0,          -1},
    {PHILIPS5xX2,   "",        UnlockReminder,                                        0,          -1},
    {PHILIPS87C,    "71-74",   SixClock87C | UnlockReminder,                          0,          -1},
    {ATMEL89S,      "017",     DataEeprom,                                            0,          -1},
    {WINBOND78E,    "064 065", LdRom,                                                 0,          -1},
    {PHILIPSLPC,    "08B",     0,                                                     0,          0},
    {PHILIPSLPC,    "08C",     0,                                                     0,          1},
};
// clang-format on

bool Matches(const TraitRow &row, const QString &family, const QString &id) {
  if (family != row.family)
    return false;
  QString ids = QString::fromLatin1(row.ids);
  if (ids.isEmpty())
    return true;
  const bool except = ids.startsWith(QLatin1Char('!'));
  if (except)
    ids.remove(0, 1);
  const QStringList range = ids.split(QLatin1Char('-'));
  if (range.size() == 2) {
    const int n = NumericIdentifier(id);
    return n >= range[0].toInt() && n <= range[1].toInt();
  }
  return ids.split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(id) != except;
}

} // namespace

DeviceTraits Traits(const QString &family, const QString &id) {
  unsigned traits = 0;
  DeviceTraits result;
  for (const TraitRow &row : kRows) {
    if (!Matches(row, family, id))
      continue;
    traits |= row.traits;
    if (row.dataBlockLength)
      result.dataBlockLength = row.dataBlockLength;
    if (row.positioningTip >= 0)
      result.positioningTip = row.positioningTip;
  }
  result.twoFlashBlocks = traits & TwoFlashBlocks;
  result.bootBlockWarnings = traits & BootBlockWarnings;
  result.lockedCodeReadsZero = traits & LockedCodeReadsZero;
  result.sixClockBox = traits & SixClockBox;
  result.sixClockAfterWrite = traits & SixClockAfterWrite;
  result.sixClock87C = traits & SixClock87C;
  result.i2cSlaveAddress = traits & I2cSlaveAddress;
  result.secondBootVector = traits & SecondBootVector;
  result.dataEeprom = traits & DataEeprom;
  result.ldRom = traits & LdRom;
  result.rdSubmenu = traits & RdSubmenu;
  result.rcCommands = traits & RcCommands;
  result.unlockReminder = traits & UnlockReminder;
  return result;
}

DeviceTraits Traits(const SelectedMcu &mcu) { return Traits(mcu.FamilyCode, mcu.MCUIDNumber); }

int NumericIdentifier(const QString &id) {
  int value = 0;
  for (const QChar c : id.trimmed()) {
    if (!c.isDigit())
      break;
    value = value * 10 + c.digitValue();
    if (value > 1'000'000)
      break;
  }
  return value;
}

} // namespace kvr
