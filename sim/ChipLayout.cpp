#include "ChipLayout.h"

#include "FamilyCodes.h"
#include "Globals.h"

#include <QStringList>

namespace kvr::sim {

using namespace BaseModule;

namespace {

// The special bytes of a family. ids: the identifiers a row applies to,
// space separated; empty for the whole family. The first row that matches a
// store gives its start value.
struct ByteRow {
  const QString &family;
  const char *ids;
  Store store;
  const char *startHex;
};

const ByteRow kByteRows[] = {
    {PHILIPS66X, "", Store::StatusBoot, "00FC00"},
    {PHILIPS66X, "039", Store::ClockMode, "FF"},
    {PHILIPS66X, "", Store::ClockMode, "00"},
    {PHILIPS66X, "039", Store::I2cAddress, "00"},
    {PHILIPSRX2, "", Store::StatusBoot, "00FC00"},
    {PHILIPSRX2, "", Store::ClockMode, "00"},
    {PHILIPS5xX2, "", Store::ClockMode, "FF"},
    {PHILIPS87C, "71 72 73 74", Store::ClockMode, "FF"},
    {PHILIPS6xX2, "", Store::StatusBoot, "00FC00"},
    {PHILIPS6xX2, "", Store::ClockMode, "FF"},
    {PHILIPSRx2XX, "", Store::StatusBoot, "00FC00"},
    {PHILIPSRx2XX, "", Store::ClockMode, "FF"},
    {SSTFXX, "", Store::RemapBits, "0000"},
    {SSTCXX, "", Store::RemapBits, "0000"},
    {SST89x5xxRx, "", Store::ConfigBits, "00"},
    {SST89x5xxRx, "", Store::DoubleClock, "FF"},
    {DALLASDS89C, "", Store::OptionControl, "00"},
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

// Chips whose read-protected code reads 00h.
struct ZeroReadRow {
  const QString &family;
  const char *ids;
};
const ZeroReadRow kZeroReadRows[] = {
    {SSTCXX, ""}, {SSTFXX, ""}, {PHILIPSVRx2XX, "75"}, {PHILIPS66X, "039"}};

bool Applies(const QString &family, const char *ids, const ChipModel &model) {
  if (model.family != family)
    return false;
  const QStringList list = QString::fromLatin1(ids).split(' ', Qt::SkipEmptyParts);
  return list.isEmpty() || list.contains(model.id);
}

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
  for (const ByteRow &row : kByteRows)
    if (Applies(row.family, row.ids, model) && !initial.count(row.store))
      initial[row.store] = QByteArray::fromHex(row.startHex);
  for (const ZeroReadRow &row : kZeroReadRows)
    layout.lockedReadsZero = layout.lockedReadsZero || Applies(row.family, row.ids, model);
  return layout;
}

} // namespace kvr::sim
