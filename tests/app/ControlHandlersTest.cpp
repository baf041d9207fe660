// Every command the window can trigger reaches a handler of the core, or is
// one the window serves itself; each runs, can be stopped while it talks to
// the programmer and gives the menus back.
#include "ControlLayout.h"
#include "SimRig.h"

#include <gtest/gtest.h>

using namespace kvr;

namespace {

// Commands the window serves itself.
const QStringList kServedByTheWindow{
    "TbnStop",           // its own signal: it must reach the session while a command runs
    "MnuContents",       // the help window
    "nuAboutKvr104",     // the about box
    "TbnSpecialCommand", // opens its drop-down
    "NA",                // "No Special Command Available" does nothing
};
// Never shown: the menu above them, or they themselves, stay hidden.
const QStringList kNeverShown{"MnuStatusByteBootVector_T89C51xx",
                              "MnuSoftwareSecurityByte",
                              "MnuHardwareSecurityByte",
                              "MnuChipErase_Cxx",
                              "BMnu_ChipErase",
                              "BMnu_I2CSlaveAddress"};

// Shown with every menu above it. The special commands are shown by family
// and the recent files as they are used: both count as shown.
bool Reachable(const ControlPanel &panel, const QString &name) {
  for (QString above = name; !above.isEmpty(); above = FindControl(above)->parent)
    if (above == "MnuSpecialCommands" || above.startsWith("MnuFileLastFile") ||
        FindControl(above)->kind == ControlKind::DropDownEntry)
      return true;
  for (QString above = name; !above.isEmpty(); above = FindControl(above)->parent)
    if (!panel.isVisible(above))
      return false;
  return true;
}

TEST(ControlHandlers, EveryCommandHasOneAndEachRunsToItsEnd) {
  test::SimRig rig;
  rig.Start("017");
  rig.Load(test::Pattern(64), rig.folder.path() + "/prog.bin"); // Save writes it
  rig.core.closeWindow = [] {};
  for (const ControlSpec &spec : ControlLayout()) {
    const QString name = spec.name;
    // Menus open, separators and the window's own controls run nothing.
    if (spec.kind == ControlKind::Menu || spec.kind == ControlKind::Separator ||
        spec.kind == ControlKind::WindowControl)
      continue;
    if (kNeverShown.contains(name)) {
      EXPECT_FALSE(spec.visible && FindControl(spec.parent)->visible) << spec.name;
    }
    if (kServedByTheWindow.contains(name) || kNeverShown.contains(name)) {
      EXPECT_FALSE(rig.core.HasHandler(name)) << spec.name << " is on a list of none";
      continue;
    }
    EXPECT_TRUE(rig.core.HasHandler(name)) << spec.name;
    EXPECT_TRUE(Reachable(rig.core.panel(), name)) << spec.name << " has a handler nobody sees";
    // Every question, dialog and file choice answered with Cancel.
    test::ScriptedUi &ui = rig.ui;
    ui.answers.assign(3, Answer::Cancel);
    ui.portChoices.assign(3, std::nullopt);
    ui.tipConfirmations.assign(3, false);
    ui.openChoices.assign(3, std::nullopt);
    ui.saveChoices.assign(3, QString());
    ui.warningAnswers.assign(3, {false, false});
    ui.lockBitChoices.assign(3, std::nullopt);
    ui.specialByteEdits.assign(3, [](SpecialByteForm &) { return false; });
    bool stopOffered = false;
    ui.onProcessEvents = [&] {
      stopOffered = stopOffered || rig.core.panel().isEnabled("TbnStop");
    };
    rig.port.clearSentBytes();
    rig.core.Trigger(name);
    // What talks to the programmer can be stopped while it does.
    if (!rig.Wire().isEmpty()) {
      EXPECT_TRUE(stopOffered) << spec.name;
    }
    EXPECT_EQ(ui.busyDepth, 0) << spec.name;
    EXPECT_FALSE(rig.core.panel().isEnabled("TbnStop")) << spec.name;
    EXPECT_TRUE(rig.core.panel().isEnabled("MnuOperations")) << spec.name;
  }
}

} // namespace
