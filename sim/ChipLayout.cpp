#include "ChipLayout.h"

#include "DeviceTraits.h"
#include "FamilyCodes.h"
#include "Globals.h"

#include <QStringList>

namespace kvr::sim {

using namespace BaseModule;

namespace {

using TraitTest = bool (*)(const DeviceTraits &traits);
bool Any(const DeviceTraits &) { return true; }
bool SixClockBox(const DeviceTraits &t) { return t.sixClockBox; }
bool I2cSlaveAddress(const DeviceTraits &t) { return t.i2cSlaveAddress; }
bool SixClock87C(const DeviceTraits &t) { return t.sixClock87C; }

// The special bytes of a family. The first row of the chip's family whose
// test holds gives a store its start value. Chips switched to 6-clock mode
// start in 12-clock mode (FFh); those switched to 12-clock start at 00h.
struct ByteRow {
  const QString &family;
  TraitTest applies;
  Store store;
  const char *startHex;
};

const ByteRow kByteRows[] = {
    {PHILIPS66X, Any, Store::StatusBoot, "00FC00"},
    {PHILIPS66X, SixClockBox, Store::ClockMode, "FF"},
    {PHILIPS66X, Any, Store::ClockMode, "00"},
    {PHILIPS66X, I2cSlaveAddress, Store::I2cAddress, "00"},
    {PHILIPSRX2, Any, Store::StatusBoot, "00FC00"},
    {PHILIPSRX2, Any, Store::ClockMode, "00"},
    {PHILIPS5xX2, Any, Store::ClockMode, "FF"},
    {PHILIPS87C, SixClock87C, Store::ClockMode, "FF"},
    {PHILIPS6xX2, Any, Store::StatusBoot, "00FC00"},
    {PHILIPS6xX2, Any, Store::ClockMode, "FF"},
    {PHILIPSRx2XX, Any, Store::StatusBoot, "00FC00"},
    {PHILIPSRx2XX, Any, Store::ClockMode, "FF"},
    {SSTFXX, Any, Store::RemapBits, "0000"},
    {SSTCXX, Any, Store::RemapBits, "0000"},
    {SST89x5xxRx, Any, Store::ConfigBits, "00"},
    {SST89x5xxRx, Any, Store::DoubleClock, "FF"},
    {DALLASDS89C, Any, Store::OptionControl, "00"},
};

// Type byte 5, the kind of the special memory area; its size is 2 to the
// power of type byte 6. Kind 04, the encryption array, no command reaches.
struct AreaKind {
  std::uint8_t kind;
  Store store;
};
const AreaKind kAreaKinds[] = {{0x01, Store::Eeprom},
                               {0x02, Store::DataBlock},
                               {0x03, Store::LdRom},
                               {0x05, Store::UserParams}};
constexpr std::uint8_t kUserParamsKind = 0x05; // comes with the UCFG1 byte

struct StoreNameRow {
  Store store;
  const char *name;
};
const StoreNameRow kStoreNames[] = {
    {Store::Code, "Code"},
    {Store::Block1, "Block1"},
    {Store::Eeprom, "Eeprom"},
    {Store::LdRom, "LdRom"},
    {Store::DataBlock, "DataBlock"},
    {Store::UserParams, "UserParams"},
    {Store::StatusBoot, "StatusBoot"},
    {Store::ClockMode, "ClockMode"},
    {Store::ConfigBits, "ConfigBits"},
    {Store::DoubleClock, "DoubleClock"},
    {Store::I2cAddress, "I2cAddress"},
    {Store::Ucfg1, "Ucfg1"},
    {Store::OptionControl, "OptionControl"},
    {Store::RemapBits, "RemapBits"},
};

} // namespace

bool IsArea(Store store) {
  switch (store) {
  case Store::Code:
  case Store::Block1:
  case Store::Eeprom:
  case Store::LdRom:
  case Store::DataBlock:
  case Store::UserParams: return true;
  default: return false;
  }
}

QString StoreName(Store store) {
  for (const StoreNameRow &row : kStoreNames)
    if (row.store == store)
      return QString::fromLatin1(row.name);
  return {};
}

std::optional<Store> StoreFromName(const QString &name) {
  for (const StoreNameRow &row : kStoreNames)
    if (name == QLatin1String(row.name))
      return row.store;
  return std::nullopt;
}

ChipLayout LayoutOf(const ChipModel &model) {
  ChipLayout layout;
  auto &initial = layout.initial;
  initial[Store::Code] = QByteArray(model.codeSize, BlankByte);
  if (const int block1Kb = model.typeBytes[4])
    initial[Store::Block1] = QByteArray(block1Kb * OneKB, BlankByte);
  const std::uint8_t kind = model.typeBytes[5];
  const int sizePower = model.typeBytes[6];
  for (const AreaKind &area : kAreaKinds)
    if (area.kind == kind && sizePower >= 1 && sizePower <= 16)
      initial[area.store] = QByteArray(1 << sizePower, BlankByte);
  if (kind == kUserParamsKind)
    initial[Store::Ucfg1] = QByteArray(1, BlankByte);
  const DeviceTraits traits = Traits(model.family, model.id);
  for (const ByteRow &row : kByteRows)
    if (row.family == model.family && row.applies(traits) && !initial.count(row.store))
      initial[row.store] = QByteArray::fromHex(row.startHex);
  layout.lockedReadsZero = traits.lockedCodeReadsZero;
  return layout;
}

} // namespace kvr::sim
