#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace kvr::sim {

// One device as the catalogue describes it: the fields of an MCUMaster row
// that the programmer needs, with the family code joined from brand and range.
struct ChipModel {
  QString id;     // MCUIDNumber
  QString model;  // MCUModel
  QString family; // brand name + range name, one of the 21 family codes
  int codeSize = 0;
  int lockBits = 0;
  std::array<std::uint8_t, 8> typeBytes{}; // MCUType_0 .. MCUType_7
  int signatureCount = 0;                  // Sig_Byte_Count
  std::array<std::uint8_t, 3> signature{}; // Sig_1 .. Sig_3
};

// The eight type bytes, in one place until the catalogue fixes their meaning:
// byte 0 is the family's programming algorithm, numbered 1.. in the order of
// the 21 family codes; byte 1 the programming voltage (05h or 0Ch); byte 2
// the number of lock bits; byte 3 the number of flash blocks; 4..7 are zero.
std::array<std::uint8_t, 8> MakeTypeBytes(const QString &family, int vppVolts, int lockBits,
                                          int flashBlocks);
// The family whose algorithm byte 0 names; empty when the firmware has none.
QString FamilyOfTypeBytes(const std::array<std::uint8_t, 8> &typeBytes);

// The chips the simulator seats without a catalogue file.
std::optional<ChipModel> FindBuiltInChip(const QString &id);
QStringList BuiltInChipIds();

} // namespace kvr::sim
