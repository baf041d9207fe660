#include "SpecialNumbers.h"

#include "DeviceTraits.h"
#include "Session.h"

#include <QByteArray>

#include <algorithm>
#include <array>

namespace kvr {

namespace {

constexpr OnSet Read = OnSet::ReadThenDialog;
constexpr OnRead No = OnRead::Nothing;
constexpr int Block = kDataBlockLength;
using Slot = SpecialSlot;

// clang-format off
const SpecialNumber kNumbers[] = {
    // number  set mode          read mode                read   write  bytes  slot
    {"02", Read,              OnRead::ReadThenDialog, 2,     0,     0, Slot::StatusBoot},
    {"03", Read,              No,                     0,     0,     2, Slot::None},
    {"04", Read,              No,                     1,     0,     0, Slot::ClockMode},
    {"06", Read,              OnRead::IntoBuffer,     4096,  0,     0, Slot::None},
    {"07", Read,              No,                     0,     4096,  0, Slot::None},
    {"08", Read,              OnRead::IntoBuffer,     2048,  0,     0, Slot::None},
    {"09", Read,              No,                     0,     2048,  0, Slot::None},
    {"11", Read,              No,                     1,     0,     0, Slot::ClockMode},
    {"12", Read,              No,                     1,     0,     0, Slot::ClockMode},
    {"14", Read,              No,                     1,     0,     0, Slot::ClockMode},
    {"16", Read,              OnRead::ReadThenDialog, 3,     0,     0, Slot::StatusBoot},
    {"17", Read,              No,                     0,     0,     3, Slot::None},
    {"18", Read,              OnRead::IntoBuffer,     Block, 0,     0, Slot::None},
    {"19", Read,              No,                     0,     Block, 0, Slot::None},
    {"20", Read,              OnRead::ReadThenDialog, 0,     0,     0, Slot::OptionControl},
    {"21", Read,              No,                     0,     0,     1, Slot::None},
    {"22", Read,              OnRead::IntoBuffer,     4096,  0,     0, Slot::None},
    {"23", Read,              No,                     0,     4096,  0, Slot::None},
    {"24", Read,              OnRead::DialogOnly,     0,     0,     2, Slot::None},
    {"26", OnSet::SetQuietly, No,                     0,     0,     0, Slot::None},
    {"27", OnSet::SetQuietly, No,                     0,     0,     0, Slot::None},
    {"28", OnSet::Set,        No,                     0,     0,     0, Slot::None},
    {"29", Read,              No,                     0,     0,     0, Slot::ConfigBit},
    {"31", Read,              No,                     0,     0,     0, Slot::DoubleClock},
    {"33", Read,              OnRead::IntoBuffer,     8192,  0,     0, Slot::None},
    {"34", Read,              No,                     0,     8192,  0, Slot::None},
    {"35", OnSet::Set,        No,                     0,     0,     0, Slot::ConfigBit},
    {"36", Read,              No,                     1,     0,     0, Slot::ConfigBit},
    {"38", Read,              No,                     0,     0,     0, Slot::ConfigBit},
    {"40", Read,              No,                     0,     0,     0, Slot::DoubleClock},
    {"42", Read,              OnRead::DialogOnly,     1,     0,     0, Slot::I2cAddress},
    {"43", Read,              No,                     0,     0,     1, Slot::None},
    {"50", Read,              OnRead::IntoBuffer,     32,    0,     0, Slot::None},
    {"51", Read,              No,                     0,     32,    0, Slot::None},
    {"52", Read,              OnRead::ReadThenDialog, 1,     0,     0, Slot::Ucfg1},
    {"53", Read,              No,                     0,     0,     1, Slot::None},
};
// clang-format on

const SpecialNumber kOutsideTheTable{"", Read, No, 0, 0, 0, Slot::None};

int Resolved(int length, const SelectedMcu &mcu) {
  return length == kDataBlockLength ? Traits(mcu).dataBlockLength : length;
}

QString HexByte(char byte) {
  return QStringLiteral("%1")
      .arg(static_cast<unsigned char>(byte), 2, 16, QLatin1Char('0'))
      .toUpper();
}

} // namespace

const SpecialNumber &FindSpecialNumber(const QString &number) {
  const QString trimmed = number.trimmed();
  for (const SpecialNumber &row : kNumbers)
    if (trimmed == QLatin1String(row.number))
      return row;
  return kOutsideTheTable;
}

int SpecialReadLength(const QString &number, const SelectedMcu &mcu) {
  return Resolved(FindSpecialNumber(number).readLength, mcu);
}

int SpecialWriteLength(const QString &number, const SelectedMcu &mcu) {
  return Resolved(FindSpecialNumber(number).writeLength, mcu);
}

int SpecialByteWriteLength(const QString &number) {
  return FindSpecialNumber(number).byteWriteLength;
}

void FillSlots(SpecialByteSlots &held, const QString &number, const QByteArray &bytes) {
  const SpecialNumber &row = FindSpecialNumber(number);
  if (bytes.isEmpty())
    return;
  switch (row.slot) {
  case SpecialSlot::None: return;
  case SpecialSlot::StatusBoot: {
    // The boot vector of "02" comes with the status byte: the dialog shows
    // and writes back both.
    const std::array<QString *, 3> statusBoot{&held.StatusBootSlot1, &held.StatusBootSlot2,
                                              &held.StatusBootSlot3};
    const int count = std::min({row.readLength, 3, static_cast<int>(bytes.size())});
    for (int i = 0; i < count; ++i)
      *statusBoot[i] = HexByte(bytes[i]);
    return;
  }
  case SpecialSlot::Ucfg1: held.Ucfg1Slot = HexByte(bytes[0]); return;
  case SpecialSlot::ClockMode: held.ClockModeSlot = HexByte(bytes[0]); return;
  case SpecialSlot::I2cAddress: held.I2cAddressSlot = HexByte(bytes[0]); return;
  case SpecialSlot::OptionControl: held.OptionControlSlot = HexByte(bytes[0]); return;
  case SpecialSlot::ConfigBit: held.ConfigBitSlot = HexByte(bytes[0]); return;
  case SpecialSlot::DoubleClock: held.DoubleClockSlot = HexByte(bytes[0]); return;
  }
}

} // namespace kvr
