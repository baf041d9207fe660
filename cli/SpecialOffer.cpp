#include "SpecialOffer.h"

#include "BaseModule.h"
#include "ControlLayout.h"
#include "ControlPanel.h"
#include "Session.h"
#include "SpecialMenu.h"

namespace kvr::cli {

namespace {

// Entries whose handlers run a special command of their own: the block erases.
struct OwnSpecial {
  const char *control;
  const char *number;
};
const OwnSpecial kBlockErases[] = {
    {"MnuBlockErase", "28"},
    {"BMnu_BlockErase", "28"},
    {"MnuBlockEraseFlashBlock1", "35"},
    {"BMnu_BlockErase_RC", "35"},
};

QStringList SpecialEntries() {
  QStringList entries = SpecialMenu::EntryNames();
  for (const OwnSpecial &own : kBlockErases)
    entries.append(QLatin1String(own.control));
  return entries;
}

} // namespace

std::optional<SpecialChoice> ControlSends(const QString &control, const SelectedMcu &mcu) {
  for (const OwnSpecial &own : kBlockErases)
    if (control == QLatin1String(own.control))
      return SpecialChoice(QLatin1String(own.number), BaseModule::SpecialModeSet);
  return SpecialMenu::Sends(control, mcu);
}

QStringList SpecialControls(const SelectedMcu &mcu, const SpecialChoice &choice) {
  QStringList controls;
  for (const QString &entry : SpecialEntries())
    if (ControlSends(entry, mcu) == choice)
      controls.append(entry);
  return controls;
}

QList<SpecialChoice> OfferedSpecialCommands(const SelectedMcu &mcu) {
  Session verified;
  verified.Mcu = mcu;
  verified.DatabaseAvailable = true;
  verified.SignatureVerified = true;
  ControlPanel panel(verified);
  panel.SetMenuOptions(false);
  panel.SetDropDownOptions_Special();

  QList<SpecialChoice> offered;
  for (const ControlSpec &spec : ControlLayout()) {
    const QString control = QLatin1String(spec.name);
    if (!panel.isOffered(control))
      continue;
    const std::optional<SpecialChoice> sends = ControlSends(control, mcu);
    if (sends && !offered.contains(*sends))
      offered.append(*sends);
  }
  return offered;
}

} // namespace kvr::cli
