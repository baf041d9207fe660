#pragma once

#include <QString>

namespace kvr {

struct SelectedMcu;

// What sets one device apart from the rest of its family. The operations,
// the special commands, the control table and the simulator ask here rather
// than comparing identifiers; the identifiers themselves appear only in the
// catalogue rows and in the table behind Traits().
struct DeviceTraits {
  // Flash block 0 (64 KB) and block 1 (8 KB), chosen in the block list
  // beside the toolbar and selected with a special command before each
  // erase, blank check, write and read.
  bool twoFlashBlocks = false;
  // Block 1 holds the ISP boot code: the erase, lock and Auto warnings remind
  // the user to write it back and to keep ISP enabled.
  bool bootBlockWarnings = false;
  // A locked chip reads its code as 00h, not FFh.
  bool lockedCodeReadsZero = false;

  // The "6x Clock" box beside the toolbar is shown.
  bool sixClockBox = false;
  // A ticked box makes a write end with the switch to 6-clock mode
  // (special number 15). Not the same devices as the box: the firmware of
  // PHILIPSVRx2XX chips has no such switch, so their box sends nothing, and
  // PHILIPSRx2XX chips take the switch though their box is never shown.
  bool sixClockAfterWrite = false;
  // A PHILIPS87C chip with the X2 core: 6-clock mode by special number 12.
  bool sixClock87C = false;

  // The special byte dialog reminds the user to unlock the chip first. Not the
  // Philips menu's list: the LPC chips have that menu but no reminder.
  bool unlockReminder = false;

  // Bytes of the data block that special numbers 18 and 19 move; 0 without one.
  int dataBlockLength = 0;
  // The I2C slave address byte, with its own entry in the family submenu.
  bool i2cSlaveAddress = false;
  // The status byte comes with two boot vectors instead of one.
  bool secondBootVector = false;
  // A 2 KB data EEPROM (special numbers 08 and 09).
  bool dataEeprom = false;
  // A 4 KB LDROM (special numbers 06 and 07).
  bool ldRom = false;
  // Its special commands are those of the "89E564RD" submenu.
  bool rdSubmenu = false;
  // The 8 KB secondary flash block and the start-up configuration bits of the
  // "RC" chips.
  bool rcCommands = false;

  // The lock bit dialog's fourth box reads "1/2 Oscillator Gain" and can be
  // ticked, which sends the lock command's fourth digit as "1". No device has
  // it, on purpose: none of the catalogue's devices is known to take an
  // oscillator gain setting through the lock command, and a guessed family
  // would have the firmware program a bit of unknown meaning into its chips.
  // A device documented with such a bit gets it in a row of the table.
  bool halfOscillatorGain = false;

  // Index of the chip's picture in the positioning tip shown before a
  // signature verification; -1 without a tip.
  int positioningTip = -1;
};

DeviceTraits Traits(const QString &family, const QString &id);
DeviceTraits Traits(const SelectedMcu &mcu);

// The leading decimal digits of an identifier as a number ("071" is 71,
// "08B" is 8, "A1" is 0).
int NumericIdentifier(const QString &id);

} // namespace kvr
