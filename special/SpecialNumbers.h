#pragma once

#include <QString>

namespace kvr {

struct SelectedMcu;

// The special bytes last read from the chip, two upper-case hex digits each;
// the special byte dialog shows them and sends its edits back to the chip.
struct SpecialByteSlots {
  QString StatusBootSlot1; // status byte
  QString StatusBootSlot2; // boot vector (1)
  QString StatusBootSlot3; // boot vector 2
  QString Ucfg1Slot;
  QString ClockModeSlot; // FFh 12-clock, 00h 6-clock
  QString I2cAddressSlot;
  QString OptionControlSlot;
  QString ConfigBitSlot; // start-up configuration bits: SC0 08h, SC1 10h
  QString DoubleClockSlot;
};

// Which slot a special byte read fills.
enum class SpecialSlot {
  None,
  StatusBoot, // as many of the three as the read brings
  Ucfg1,
  ClockMode,
  I2cAddress,
  OptionControl,
  ConfigBit,
  DoubleClock,
};

// What SpecialCommand does with a number in set mode "S".
enum class OnSet {
  ReadThenDialog, // read the special byte, then the special byte dialog
  SetQuietly,     // a set command without message boxes (block selection)
  Set,            // a set command with its pass and failure boxes
};

// What SpecialCommand does with a number in read mode "R".
enum class OnRead {
  Nothing,
  IntoBuffer,     // an area read into the buffer
  ReadThenDialog, // a special byte read, then the special byte dialog
  DialogOnly,     // the dialog without reading first
};

// One special command number: what the dispatcher does with it and how many
// bytes its reads and writes announce.
struct SpecialNumber {
  const char *number;
  OnSet onSet;
  OnRead onRead;
  int readLength;      // ReadSpecial
  int writeLength;     // WriteSpecial, area writes
  int byteWriteLength; // write_spcl_1, special byte writes
  SpecialSlot slot;
};

// Lengths that depend on the device: the data block of "18" and "19".
constexpr int kDataBlockLength = -1;

// The row of a number; numbers outside the table read a special byte with
// nothing announced in set mode and do nothing in read mode.
const SpecialNumber &FindSpecialNumber(const QString &number);

int SpecialReadLength(const QString &number, const SelectedMcu &mcu);
int SpecialWriteLength(const QString &number, const SelectedMcu &mcu);
int SpecialByteWriteLength(const QString &number);

// Stores the first bytes of a special byte read in the number's slot(s).
void FillSlots(SpecialByteSlots &held, const QString &number, const QByteArray &bytes);

} // namespace kvr
