#pragma once

#include <QString>

#include <array>
#include <cstdint>

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

// The eight type bytes are the catalogue's (Data/catalogue.sql says what each
// means): the firmware takes the family from byte 0 and the chip's memories
// from bytes 4 to 6 (ChipLayout).
// The family whose number (1.., in the order of the 21 family codes) byte 0
// holds; empty when the firmware knows no such family.
QString FamilyOfTypeBytes(const std::array<std::uint8_t, 8> &typeBytes);

} // namespace kvr::sim
