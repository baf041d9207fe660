#pragma once

#include "ChipLayout.h"

#include <QByteArray>

#include <cstdint>

namespace kvr::sim {

class SimChip;

// What a special command number does to the chip.
enum class SpecialAction {
  SelectBlock,   // "26" / "27": reads and writes reach that flash block
  EraseSelected, // erase the selected flash block
  EraseStore,    // erase a flash area
  SetByte,       // store a fixed value in a special byte
  SetBits,       // OR a mask into a special byte
  ReadArea,      // send an area in data frames, as "R"
  WriteArea,     // erase the area, then take it in blocks, as "W"
  ReadBytes,     // send special bytes in one data frame
  WriteBytes,    // take special bytes from one block
};

struct SpecialCommand {
  const char *number; // two digits
  char mode;          // 'S', 'R' or 'W'
  SpecialAction action;
  Store store;
  std::uint8_t value; // SetByte value, SetBits mask
};

// The entry of a number and mode; nullptr when the firmware has none.
const SpecialCommand *FindSpecial(const QByteArray &number, char mode);

// Whether the chip has what the command works on.
bool Offered(const SpecialCommand &command, const SimChip &chip);

} // namespace kvr::sim
