#include "ChipModel.h"

#include "BaseModule.h"

#include <QStringList>

namespace kvr::sim {

namespace {

struct BuiltInRow {
  const char *id;
  const char *model;
  const QString &family;
  int codeSize;
  int lockBits;
  int vppVolts;
  int flashBlocks;
  int signatureCount;
  std::array<std::uint8_t, 3> signature;
};

using namespace BaseModule;

// Stand-ins for the catalogue rows the tests seat. Signatures that no
// datasheet confirms are placeholders, to be replaced by the catalogue's.
const BuiltInRow kBuiltInRows[] = {
    {"017", "AT89S8252", ATMEL89S, 8192, 3, 5, 1, 2, {0x1E, 0x72, 0xFF}},
    {"039", "P89C669", PHILIPS66X, 65536, 3, 12, 1, 2, {0x15, 0xDF, 0xFF}},
    {"064", "W78E58B", WINBOND78E, 32768, 3, 12, 1, 2, {0xDA, 0x61, 0xFF}},
    {"065", "W78E516B", WINBOND78E, 65536, 3, 12, 1, 2, {0xDA, 0x62, 0xFF}},
    {"071", "SST89E564RD", SST89x5xxRx, 65536, 3, 12, 2, 2, {0xBF, 0x91, 0xFF}},
    {"072", "SST89E554RC", SST89x5xxRx, 32768, 3, 12, 2, 2, {0xBF, 0x99, 0xFF}},
    {"71", "P87C51X2", PHILIPS87C, 4096, 3, 12, 1, 2, {0x15, 0xC1, 0xFF}},
    {"72", "P87C52X2", PHILIPS87C, 8192, 3, 12, 1, 2, {0x15, 0xC2, 0xFF}},
    {"73", "P87C54X2", PHILIPS87C, 16384, 3, 12, 1, 2, {0x15, 0xC3, 0xFF}},
    {"74", "P87C58X2", PHILIPS87C, 32768, 3, 12, 1, 2, {0x15, 0xC4, 0xFF}},
    {"75", "P89V51RD2", PHILIPSVRx2XX, 65536, 3, 5, 2, 2, {0x15, 0x91, 0xFF}},
    {"76", "SST89E516RD2", SST89x5xxRx, 65536, 3, 12, 2, 2, {0xBF, 0x93, 0xFF}},
    {"08B", "P87LPC760", PHILIPSLPC, 1024, 3, 12, 1, 2, {0x15, 0x03, 0xFF}},
    {"08C", "P87LPC761", PHILIPSLPC, 2048, 3, 12, 1, 2, {0x15, 0x04, 0xFF}},
};

ChipModel ModelOf(const BuiltInRow &row) {
  ChipModel model;
  model.id = QString::fromLatin1(row.id);
  model.model = QString::fromLatin1(row.model);
  model.family = row.family;
  model.codeSize = row.codeSize;
  model.lockBits = row.lockBits;
  model.typeBytes = MakeTypeBytes(row.family, row.vppVolts, row.lockBits, row.flashBlocks);
  model.signatureCount = row.signatureCount;
  model.signature = row.signature;
  return model;
}

} // namespace

std::array<std::uint8_t, 8> MakeTypeBytes(const QString &family, int vppVolts, int lockBits,
                                          int flashBlocks) {
  std::array<std::uint8_t, 8> bytes{};
  for (std::size_t i = 0; i < FamilyCodes.size(); ++i)
    if (FamilyCodes[i] == family)
      bytes[0] = static_cast<std::uint8_t>(i + 1);
  bytes[1] = static_cast<std::uint8_t>(vppVolts);
  bytes[2] = static_cast<std::uint8_t>(lockBits);
  bytes[3] = static_cast<std::uint8_t>(flashBlocks);
  return bytes;
}

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
