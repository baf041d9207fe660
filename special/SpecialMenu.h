#pragma once

#include "OperationContext.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace kvr {

class SpecialCommands;
struct SelectedMcu;

namespace SpecialMenuText {
inline const QString WarningsEnabled = QStringLiteral("Re-enable all Warning messages");
inline const QString WarningsNotEnabled = QStringLiteral(
    "The warning messages could not be re-enabled: the device catalogue cannot be written.");
} // namespace SpecialMenuText

// The leaves of Operations > Special Commands and the entries of the toolbar's
// special drop-down: each checks the selected family (a menu entry refuses a
// device of another family with its message) and hands a special command
// number and mode to the dispatcher. Also Tool > Re-enable Warning.
class SpecialMenu {
public:
  SpecialMenu(OperationContext &context, SpecialCommands &commands)
      : c_(context), commands_(commands) {}

  // Every menu entry and drop-down entry Click() handles.
  static QStringList EntryNames();
  // The special command number and mode an entry hands the dispatcher for
  // this device; nothing when it refuses the device or does nothing.
  static std::optional<std::pair<QString, char>> Sends(const QString &name, const SelectedMcu &mcu);
  void Click(const QString &name);

  // Every warning window is shown again.
  void MnuenableWrn_Click();

private:
  OperationContext &c_;
  SpecialCommands &commands_;
};

} // namespace kvr
