#pragma once

#include <QString>

namespace kvr {

// The special commands without data ("P" nn "S" 00000) that the device
// operations run: flash block selection and erase, the switch to 6-clock mode
// after a write. The special commands provide them; the outcome is left in
// Session::SpecialCommandOk.
class SetCommands {
public:
  virtual ~SetCommands() = default;

  // One set command; showMessages selects the pass and failure boxes.
  virtual void SetSpecial(const QString &number, bool showMessages) = 0;
  // The menus busy, the command, the menus idle. Block selection ("26",
  // "27") shows no box.
  virtual void SpecialCommand(const QString &number) = 0;
  // Selects flash block 0 ("26") or 1 ("27") of a two-block device.
  virtual void SelectBlock(int block) = 0;
};

} // namespace kvr
