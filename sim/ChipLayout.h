#pragma once

#include "ChipModel.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <optional>

namespace kvr::sim {

// Everything a chip stores. Areas are flash or EEPROM arrays (erased FFh,
// hidden by read protection); the others are special bytes.
enum class Store {
  Code,       // code memory; flash block 0 on two-block chips
  Block1,     // flash block 1 / secondary flash
  Eeprom,     // data EEPROM
  LdRom,      // boot loader ROM
  DataBlock,  // data flash block
  UserParams, // 32-byte user parameters
  StatusBoot, // status byte, boot vector(s)
  ClockMode,  // FFh 12-clock, 00h 6-clock
  ConfigBits, // start-up configuration bits SC0 (08h) and SC1 (10h)
  DoubleClock,
  I2cAddress,
  Ucfg1,
  OptionControl,
  RemapBits, // RB0, RB1: one byte each, 00h or 01h
};

bool IsArea(Store store);
// Name in state files and messages ("Code", "Block1", ...).
QString StoreName(Store store);
std::optional<Store> StoreFromName(const QString &name);

// What a chip has beside its code memory, and the start value of each store:
// its areas from the type bytes, its special bytes from its family.
struct ChipLayout {
  std::map<Store, QByteArray> initial;
  bool lockedReadsZero = false; // a read-protected chip reads 00h, not FFh
};

ChipLayout LayoutOf(const ChipModel &model);

} // namespace kvr::sim
