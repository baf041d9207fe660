#pragma once

#include "OperationContext.h"
#include "SpecialNumbers.h"
#include "SpecialText.h"

#include <QString>

namespace kvr {

class OperationEnd;
class SpecialSet;
class WriteRead;

// The numbered special commands: the dispatcher every special menu entry and
// drop-down entry goes through, the transfers of special areas between the
// chip and the buffer, and of special bytes through the special byte dialog.
class SpecialCommands {
public:
  SpecialCommands(OperationContext &context, SpecialSet &set, WriteRead &writeRead)
      : c_(context), set_(set), writeRead_(writeRead) {}

  // mode: 'S' set, 'R' read, 'W' write. The outcome is on screen and in
  // Session::SpecialCommandOk.
  void SpecialCommand(const QString &number, char mode);

  // An area into the buffer (toBuffer), or special bytes into their slots.
  void ReadSpecial(const QString &number, bool toBuffer);
  // An area from the buffer. True when every block was written.
  bool WriteSpecial(const QString &number, bool showMessages);
  // Up to sixteen special bytes given as hex text, two digits a byte.
  bool write_spcl_1(const QString &number, const QString &hexText, bool showMessages);

  SpecialByteSlots &byteSlots() { return slots_; }

private:
  void ShowSpecialByteDialog(const QString &number);
  bool AskAboutAreaSize(int length);
  bool SendSpecialBytes(const QByteArray &block, OperationEnd &end);

  OperationContext &c_;
  SpecialSet &set_;
  WriteRead &writeRead_;
  SpecialByteSlots slots_;
};

// Sixteen bytes from hex text, two link characters each: a pair that is
// "XX", blank, missing or not hex counts as no data, FFh.
QByteArray EncodeSpecialBytes(const QString &hexText);

} // namespace kvr
