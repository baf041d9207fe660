#include "ChipModel.h"

#include "FamilyCodes.h"

#include <QStringList>

namespace kvr::sim {

namespace {

// A catalogue row: identifier, model, family, code size, lock bits, the eight
// type bytes, signature byte count, the three signature bytes.
struct BuiltInRow {
  const char *id;
  const char *model;
  const QString &family;
  int codeSize;
  int lockBits;
  const char *typeHex;
  int signatureCount;
  const char *signatureHex;
};

using namespace BaseModule;

// Copies of the catalogue rows of the chips the tests seat and of one device
// of each family with special commands, for runs without a catalogue file.
const BuiltInRow kBuiltInRows[] = {
    {"017", "AT89S8252", ATMEL89S, 8192, 3, "0304010300010B00", 2, "1E7200"},
    {"039", "P89C669", PHILIPS66X, 65536, 3, "0705020300020D00", 1, "150000"},
    {"064", "W78E58B", WINBOND78E, 32768, 2, "1204010200030C00", 2, "DA6100"},
    {"065", "W78E516B", WINBOND78E, 65536, 2, "1205010200030C00", 1, "DA0000"},
    {"071", "SST89E564RD", SST89x5xxRx, 65536, 2, "1101010208000000", 2, "BF9100"},
    {"072", "SST89E554RC", SST89x5xxRx, 32768, 2, "1102010208000000", 2, "BF9900"},
    {"76", "SST89E516RD2", SST89x5xxRx, 65536, 2, "1103010208000000", 2, "BF9300"},
    {"75", "P89V51RD2", PHILIPSVRx2XX, 65536, 3, "0D03010308000000", 1, "150000"},
    {"08B", "P87LPC760", PHILIPSLPC, 1024, 3, "0E01040300050500", 1, "150000"},
    {"08C", "P87LPC761", PHILIPSLPC, 2048, 3, "0E02040300050500", 1, "150000"},
    {"71", "P87C51RA2", PHILIPS87C, 8192, 3, "0508010300040600", 1, "150000"},
    {"72", "P87C51RB2", PHILIPS87C, 16384, 3, "0509010300040600", 1, "150000"},
    {"73", "P87C51RC2", PHILIPS87C, 32768, 3, "050A010300040600", 1, "150000"},
    {"74", "P87C51RD2", PHILIPS87C, 65536, 3, "050B010300040600", 1, "150000"},
    {"02C", "P89C51RA2", PHILIPSRX2, 8192, 3, "0901010300000000", 1, "150000"},
    {"040", "P87C51X2", PHILIPS5xX2, 4096, 3, "0A01010300000000", 1, "150000"},
    {"048", "P89C60X2", PHILIPS6xX2, 65536, 3, "0B01010300000000", 1, "150000"},
    {"04C", "P89C51RA2xx", PHILIPSRx2XX, 8192, 3, "0C01010300020C00", 1, "150000"},
    {"0A1", "SST89F54", SSTFXX, 16384, 2, "0F01010204000000", 2, "BFE300"},
    {"0A3", "SST89C54", SSTCXX, 16384, 2, "1001010204000000", 2, "BFE400"},
    {"0D0", "DS89C430", DALLASDS89C, 16384, 3, "1401010300000000", 3, "DA4301"},
    {"0E1", "24C02", EEPROM24Cxx, 256, 0, "1502050000000008", 0, "000000"},
};

ChipModel ModelOf(const BuiltInRow &row) {
  ChipModel model;
  model.id = QString::fromLatin1(row.id);
  model.model = QString::fromLatin1(row.model);
  model.family = row.family;
  model.codeSize = row.codeSize;
  model.lockBits = row.lockBits;
  const QByteArray type = QByteArray::fromHex(row.typeHex);
  std::copy(type.begin(), type.end(), model.typeBytes.begin());
  model.signatureCount = row.signatureCount;
  const QByteArray signature = QByteArray::fromHex(row.signatureHex);
  std::copy(signature.begin(), signature.end(), model.signature.begin());
  return model;
}

} // namespace

QString FamilyOfTypeBytes(const std::array<std::uint8_t, 8> &typeBytes) {
  const std::size_t number = typeBytes[0];
  if (number < 1 || number > FamilyCodes.size())
    return {};
  return FamilyCodes[number - 1];
}

std::optional<ChipModel> FindBuiltInChip(const QString &id) {
  for (const BuiltInRow &row : kBuiltInRows)
    if (id == QLatin1String(row.id))
      return ModelOf(row);
  return std::nullopt;
}

QStringList BuiltInChipIds() {
  QStringList ids;
  for (const BuiltInRow &row : kBuiltInRows)
    ids << QString::fromLatin1(row.id);
  return ids;
}

} // namespace kvr::sim
