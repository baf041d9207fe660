#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace kvr {
struct SelectedMcu;
}

namespace kvr::cli {

// A special command number and its mode, "S", "R" or "W".
using SpecialChoice = std::pair<QString, char>;

// The special command a menu or drop-down entry hands the dispatcher for
// this device; nothing when the entry refuses the device or does nothing.
std::optional<SpecialChoice> ControlSends(const QString &control, const SelectedMcu &mcu);

// The entries through which the window would send this special command to
// the device, whether they are shown or not.
QStringList SpecialControls(const SelectedMcu &mcu, const SpecialChoice &choice);

// The special commands the window offers the device once its signature is
// verified, in the order of its menus and drop-down: the entries shown and
// enabled, with every menu above them, as a passed verification leaves them.
// kvr-cli sends no other.
QList<SpecialChoice> OfferedSpecialCommands(const SelectedMcu &mcu);

} // namespace kvr::cli
