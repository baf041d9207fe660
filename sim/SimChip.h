#pragma once

#include "ChipLayout.h"
#include "ChipModel.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>

namespace kvr::sim {

// The chip in the socket: its memories, special bytes and lock bits.
class SimChip {
public:
  explicit SimChip(ChipModel model);

  const ChipModel &model() const { return model_; }
  bool has(Store store) const { return stores_.count(store) != 0; }
  int size(Store store) const;

  // An area as a programmer reads it: FFh (or 00h on some chips) for every
  // byte while the chip is read-protected. A special byte reads as stored.
  // Bytes past the end are left out.
  QByteArray read(Store store, int offset, int count) const;
  // An area as it is stored, whatever the lock bits hide from a read.
  QByteArray stored(Store store) const;
  // False, with nothing written, when any byte would fall outside the store.
  bool write(Store store, int offset, const QByteArray &bytes);
  void erase(Store store);
  bool readsBlank(Store store) const;

  // Chip erase: code memory, flash block 1 and the lock bits.
  void eraseChip();

  // Lock bits: bit 0 is LB1. Bits the chip does not have are ignored.
  void programLockBits(std::uint8_t bits);
  std::uint8_t lockBits() const { return lockBits_; }
  bool isLocked() const { return lockBits_ != 0; }
  // LB1 alone stops programming; a further bit (or a chip's only bit) also
  // stops reading.
  bool readProtected() const;
  bool lockedReadsZero() const { return lockedReadsZero_; }

  // Two-block chips: the flash block that code reads and writes reach.
  bool hasTwoBlocks() const { return has(Store::Block1); }
  Store selectedBlock() const { return selectedBlock_; }
  void selectBlock(Store block) { selectedBlock_ = block; }

  // The chip as a state file holds it, and back. fromState refuses a file
  // of another chip or with stores of the wrong size.
  QByteArray toState() const;
  bool fromState(const QByteArray &state, QString *error);

private:
  ChipModel model_;
  std::map<Store, QByteArray> stores_;
  bool lockedReadsZero_ = false;
  std::uint8_t lockBits_ = 0;
  Store selectedBlock_ = Store::Code;
};

} // namespace kvr::sim
