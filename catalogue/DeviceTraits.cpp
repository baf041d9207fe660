#include "DeviceTraits.h"

#include "FamilyCodes.h"
#include "Session.h"

#include <QStringList>

#include <vector>

namespace kvr {

using namespace BaseModule;

namespace {

using T = DeviceTraits;

// ids: space-separated identifiers; empty for the whole family; "!" before
// them for every identifier but those; "n-m" for the numeric identifiers n to
// m. Every row that matches adds its traits.
struct TraitRow {
  const QString &family;
  const char *ids;
  std::vector<bool T::*> traits;
  int dataBlockLength = 0;
  int positioningTip = -1;
};

// clang-format off
const TraitRow kRows[] = {
    {SSTCXX,        "",        {&T::lockedCodeReadsZero}},
    {SSTFXX,        "",        {&T::lockedCodeReadsZero}},
    {SST89x5xxRx,   "071",     {&T::twoFlashBlocks, &T::rdSubmenu}},
    {SST89x5xxRx,   "76",      {&T::twoFlashBlocks}},
    {SST89x5xxRx,   "072",     {&T::rcCommands}},
    {PHILIPSVRx2XX, "75",      {&T::twoFlashBlocks, &T::bootBlockWarnings, &T::lockedCodeReadsZero,
                                &T::rdSubmenu}},
    {PHILIPSVRx2XX, "!75",     {&T::sixClockBox}},
    {PHILIPS66X,    "",        {&T::unlockReminder}},
    {PHILIPS66X,    "039",     {&T::sixClockBox, &T::sixClockAfterWrite, &T::i2cSlaveAddress,
                                &T::secondBootVector, &T::lockedCodeReadsZero}, 8192},
    {PHILIPS6xX2,   "",        {&T::sixClockBox, &T::sixClockAfterWrite, &T::unlockReminder}},
    {PHILIPSRx2XX,  "",        {&T::sixClockAfterWrite, &T::unlockReminder}, 4096},
    {PHILIPSRX2,    "",        {&T::unlockReminder}},
    {PHILIPS5xX2,   "",        {&T::unlockReminder}},
    {PHILIPS87C,    "71-74",   {&T::sixClock87C, &T::unlockReminder}},
    {ATMEL89S,      "017",     {&T::dataEeprom}},
    {WINBOND78E,    "064 065", {&T::ldRom}},
    {PHILIPSLPC,    "08B",     {}, 0, 0},
    {PHILIPSLPC,    "08C",     {}, 0, 1},
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
  DeviceTraits traits;
  for (const TraitRow &row : kRows) {
    if (!Matches(row, family, id))
      continue;
    for (bool T::*trait : row.traits)
      traits.*trait = true;
    if (row.dataBlockLength)
      traits.dataBlockLength = row.dataBlockLength;
    if (row.positioningTip >= 0)
      traits.positioningTip = row.positioningTip;
  }
  return traits;
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
