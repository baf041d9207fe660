// kvr-cli sends a special command only where the window offers it: for one
// device of each family and each device with facts of its own, the numbers
// and modes kvr-cli accepts are those of the entries a user can reach in the
// window once the chip is verified on the simulated programmer.
#include "SpecialOffer.h"
#include "ControlLayout.h"
#include "ControlPanel.h"
#include "SimRig.h"

#include <gtest/gtest.h>

#include <set>

using namespace kvr;
using kvr::cli::SpecialChoice;

namespace {

// The control and every menu or button above it are shown and enabled.
bool Reachable(const ControlPanel &panel, const ControlSpec &spec) {
  for (const ControlSpec *at = &spec; at;
       at = *at->parent ? FindControl(QLatin1String(at->parent)) : nullptr)
    if (!panel.isEnabled(QLatin1String(at->name)) || !panel.isVisible(QLatin1String(at->name)))
      return false;
  return true;
}

class SpecialOffer : public ::testing::TestWithParam<const char *> {};

TEST_P(SpecialOffer, KvrCliAcceptsExactlyWhatTheWindowOffers) {
  test::SimRig rig;
  rig.ui.tipConfirmations = {true};
  rig.Start(GetParam());
  std::set<SpecialChoice> window;
  for (const ControlSpec &spec : ControlLayout())
    if (Reachable(rig.core.panel(), spec))
      if (const auto sends = cli::ControlSends(QLatin1String(spec.name), rig.session.Mcu))
        window.insert(*sends);

  const QList<SpecialChoice> offered = cli::OfferedSpecialCommands(rig.session.Mcu);
  EXPECT_EQ(std::set<SpecialChoice>(offered.begin(), offered.end()), window);
}

// One device of each family; then the devices with facts of their own.
INSTANTIATE_TEST_SUITE_P(Devices, SpecialOffer,
                         ::testing::Values("001", "00A", "013", "01A", "80", "020", "035", "028",
                                           "02C", "040", "048", "04C", "05A", "08B", "0A1", "0A3",
                                           "07A", "060", "068", "0D0", "0E0", "017", "72", "039",
                                           "75", "071", "072", "76", "064"));

} // namespace
