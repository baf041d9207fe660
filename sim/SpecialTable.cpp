#include "SpecialTable.h"

#include "SimChip.h"

namespace kvr::sim {

namespace {

using A = SpecialAction;
using S = Store;

const SpecialCommand kSpecialCommands[] = {
    // Flash blocks of two-block chips.
    {"26", 'S', A::SelectBlock, S::Code, 0},
    {"27", 'S', A::SelectBlock, S::Block1, 0},
    {"28", 'S', A::EraseSelected, S::Code, 0},
    {"35", 'S', A::EraseStore, S::Block1, 0},
    // Clock modes: 12-clock is FFh, 6-clock 00h.
    {"01", 'S', A::SetByte, S::ClockMode, 0xFF},
    {"10", 'S', A::SetByte, S::ClockMode, 0x00},
    {"13", 'S', A::SetByte, S::ClockMode, 0x00},
    {"15", 'S', A::SetByte, S::ClockMode, 0x00},
    {"32", 'S', A::SetByte, S::DoubleClock, 0x00},
    {"41", 'S', A::SetByte, S::DoubleClock, 0x00},
    // Start-up configuration bits SC0 and SC1, watchdog power-on reset.
    {"30", 'S', A::SetBits, S::ConfigBits, 0x08},
    {"37", 'S', A::SetBits, S::ConfigBits, 0x08},
    {"39", 'S', A::SetBits, S::ConfigBits, 0x10},
    {"21", 'S', A::SetBits, S::OptionControl, 0x01},
    // Special bytes.
    {"02", 'R', A::ReadBytes, S::StatusBoot, 0},
    {"16", 'R', A::ReadBytes, S::StatusBoot, 0},
    {"03", 'W', A::WriteBytes, S::StatusBoot, 0},
    {"17", 'W', A::WriteBytes, S::StatusBoot, 0},
    {"04", 'R', A::ReadBytes, S::ClockMode, 0},
    {"11", 'R', A::ReadBytes, S::ClockMode, 0},
    {"12", 'R', A::ReadBytes, S::ClockMode, 0},
    {"14", 'R', A::ReadBytes, S::ClockMode, 0},
    {"20", 'R', A::ReadBytes, S::OptionControl, 0},
    {"21", 'W', A::WriteBytes, S::OptionControl, 0},
    {"24", 'R', A::ReadBytes, S::RemapBits, 0},
    {"24", 'W', A::WriteBytes, S::RemapBits, 0},
    {"29", 'R', A::ReadBytes, S::ConfigBits, 0},
    {"36", 'R', A::ReadBytes, S::ConfigBits, 0},
    {"38", 'R', A::ReadBytes, S::ConfigBits, 0},
    {"31", 'R', A::ReadBytes, S::DoubleClock, 0},
    {"40", 'R', A::ReadBytes, S::DoubleClock, 0},
    {"42", 'R', A::ReadBytes, S::I2cAddress, 0},
    {"43", 'W', A::WriteBytes, S::I2cAddress, 0},
    {"52", 'R', A::ReadBytes, S::Ucfg1, 0},
    {"53", 'W', A::WriteBytes, S::Ucfg1, 0},
    // Special areas.
    {"06", 'R', A::ReadArea, S::LdRom, 0},
    {"07", 'W', A::WriteArea, S::LdRom, 0},
    {"08", 'R', A::ReadArea, S::Eeprom, 0},
    {"09", 'W', A::WriteArea, S::Eeprom, 0},
    {"18", 'R', A::ReadArea, S::DataBlock, 0},
    {"19", 'W', A::WriteArea, S::DataBlock, 0},
    {"22", 'R', A::ReadArea, S::Block1, 0},
    {"23", 'W', A::WriteArea, S::Block1, 0},
    {"33", 'R', A::ReadArea, S::Block1, 0},
    {"34", 'W', A::WriteArea, S::Block1, 0},
    {"50", 'R', A::ReadArea, S::UserParams, 0},
    {"51", 'W', A::WriteArea, S::UserParams, 0},
};

} // namespace

const SpecialCommand *FindSpecial(const QByteArray &number, char mode) {
  for (const SpecialCommand &command : kSpecialCommands)
    if (number == command.number && mode == command.mode)
      return &command;
  return nullptr;
}

bool Offered(const SpecialCommand &command, const SimChip &chip) {
  switch (command.action) {
  case SpecialAction::SelectBlock:
  case SpecialAction::EraseSelected: return chip.hasTwoBlocks();
  default: return chip.has(command.store);
  }
}

} // namespace kvr::sim
