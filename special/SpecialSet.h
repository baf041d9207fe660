#pragma once

#include "OperationContext.h"
#include "SetCommands.h"
#include "SpecialText.h"

#include <QString>

namespace kvr {

// Special commands without data ("P" nn "S" 00000): flash block selection and
// erase, mode switches. SpecialCommand is the set branch of the special
// command dispatcher.
class SpecialSet : public SetCommands {
public:
  explicit SpecialSet(OperationContext &context) : c_(context) {}

  void SetSpecial(const QString &number, bool showMessages) override;
  void SpecialCommand(const QString &number) override;
  void SelectBlock(int block) override;

private:
  OperationContext &c_;
};

} // namespace kvr
