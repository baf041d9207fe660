#include "ChipLayout.h"

#include "BaseModule.h"

#include <QStringList>

namespace kvr::sim {

using namespace BaseModule;

namespace {

// One store of a family. ids: the identifiers it applies to, space separated;
// empty for the whole family. Areas give their size, filled with FFh; special
// bytes give their start value in hex. The first row that matches a store wins.
struct LayoutRow {
  const QString &family;
  const char *ids;
  Store store;
  int areaSize;
  const char *startHex;
};

const LayoutRow kLayoutRows[] = {
    {ATMEL89S, "", Store::Eeprom, 2048, ""},
    {WINBOND78E, "064 065", Store::LdRom, 4096, ""},
    {PHILIPS66X, "", Store::StatusBoot, 0, "00FC00"},
    {PHILIPS66X, "039", Store::ClockMode, 0, "FF"},
    {PHILIPS66X, "", Store::ClockMode, 0, "00"},
    {PHILIPS66X, "039", Store::I2cAddress, 0, "00"},
    {PHILIPS66X, "039", Store::DataBlock, 8192, ""},
    {PHILIPSRX2, "", Store::StatusBoot, 0, "00FC00"},
    {PHILIPSRX2, "", Store::ClockMode, 0, "00"},
    {PHILIPS5xX2, "", Store::ClockMode, 0, "FF"},
    {PHILIPS87C, "71 72 73 74", Store::ClockMode, 0, "FF"},
    {PHILIPS6xX2, "", Store::StatusBoot, 0, "00FC00"},
    {PHILIPS6xX2, "", Store::ClockMode, 0, "FF"},
    {PHILIPSRx2XX, "", Store::StatusBoot, 0, "00FC00"},
    {PHILIPSRx2XX, "", Store::ClockMode, 0, "FF"},
    {PHILIPSRx2XX, "", Store::DataBlock, 4096, ""},
    {PHILIPSVRx2XX, "", Store::Block1, 8192, ""},
    {PHILIPSLPC, "", Store::UserParams, 32, ""},
    {PHILIPSLPC, "", Store::Ucfg1, 0, "FF"},
    {SSTFXX, "", Store::Block1, 4096, ""},
    {SSTFXX, "", Store::RemapBits, 0, "0000"},
    {SSTCXX, "", Store::Block1, 4096, ""},
    {SSTCXX, "", Store::RemapBits, 0, "0000"},
    {SST89x5xxRx, "", Store::Block1, 8192, ""},
    {SST89x5xxRx, "", Store::ConfigBits, 0, "00"},
    {SST89x5xxRx, "", Store::DoubleClock, 0, "FF"},
    {DALLASDS89C, "", Store::OptionControl, 0, "00"},
};

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
  layout.initial[Store::Code] = QByteArray(model.codeSize, BlankByte);
  for (const LayoutRow &row : kLayoutRows) {
    if (!Applies(row.family, row.ids, model) || layout.initial.count(row.store))
      continue;
    layout.initial[row.store] =
        IsArea(row.store) ? QByteArray(row.areaSize, BlankByte) : QByteArray::fromHex(row.startHex);
  }
  for (const ZeroReadRow &row : kZeroReadRows)
    layout.lockedReadsZero = layout.lockedReadsZero || Applies(row.family, row.ids, model);
  return layout;
}

} // namespace kvr::sim
