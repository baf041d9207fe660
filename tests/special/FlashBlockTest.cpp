// The two-block devices: Write, Read, Blank Check and the erases reach the
// flash block LstCurrentBlock shows, selected by a special command first.
#include "SpecialRig.h"

#include <gtest/gtest.h>

using namespace kvr;
using kvr::sim::Store;
using kvr::test::Pattern;
using kvr::test::SpecialFrame;

namespace {

struct FlashBlocks : ::testing::Test {
  test::SimRig rig;
  test::ScriptedUi &ui = rig.ui;

  void ShowBlock(int block) { rig.core.panel().setValue("LstCurrentBlock", block); }
  QByteArray Held(Store store, int count) { return rig.programmer.chip()->read(store, 0, count); }
  // What one command sent, and a clean slate for the next.
  QByteArray Sent() {
    const QByteArray wire = rig.Wire();
    rig.port.clearSentBytes();
    ui.messages.clear();
    return wire;
  }
};

TEST_F(FlashBlocks, WriteReadAndBlankCheckReachTheShownBlock) {
  test::StartOn(rig, "071"); // SST89E564RD
  ASSERT_TRUE(rig.core.panel().isVisible("LstCurrentBlock"));
  rig.Load(Pattern(256));
  ShowBlock(1);
  rig.core.Trigger("TbnWrite");
  QByteArray wire = Sent();
  EXPECT_TRUE(wire.startsWith(SpecialFrame("27S00000")));
  EXPECT_TRUE(wire.contains(BuildFrame(CommandPayload(BaseModule::CmdWrite, "00256"), false)));
  EXPECT_EQ(Held(Store::Block1, 256), Pattern(256));
  EXPECT_TRUE(rig.programmer.chip()->readsBlank(Store::Code));
  EXPECT_EQ(rig.session.Mcu.MCUCodeROMSize, 8192);

  rig.core.buffer().clear();
  rig.core.Trigger("TbnRead");
  wire = Sent();
  EXPECT_TRUE(wire.startsWith(SpecialFrame("27S00000")));
  EXPECT_TRUE(wire.contains(BuildFrame(CommandPayload(BaseModule::CmdRead, "08192"), false)));
  ASSERT_EQ(rig.core.buffer().rowCount(), 512);
  EXPECT_EQ(rig.core.buffer().byte(255), static_cast<unsigned char>(Pattern(256)[255]));

  rig.core.Trigger("TbnBlankCheck");
  EXPECT_EQ(ui.texts(), QStringList{"MCU is not Blank."});
  EXPECT_TRUE(Sent().startsWith(SpecialFrame("27S00000")));
  ShowBlock(0);
  rig.core.Trigger("MnuBlankCheck");
  EXPECT_EQ(ui.texts(), QStringList{"MCU is Blank."});
  EXPECT_TRUE(Sent().startsWith(SpecialFrame("26S00000")));

  rig.Load(Pattern(64));
  rig.core.Trigger("TbnWrite");
  EXPECT_TRUE(Sent().startsWith(SpecialFrame("26S00000")));
  EXPECT_EQ(Held(Store::Code, 64), Pattern(64));
  EXPECT_EQ(rig.session.Mcu.MCUCodeROMSize, 65536);
}

TEST_F(FlashBlocks, BlockEraseAndChipEraseSelectTheirBlockFirst) {
  test::StartOn(rig, "071");
  rig.programmer.chip()->write(Store::Block1, 0, "\x11");
  rig.programmer.chip()->write(Store::Code, 0, "\x22");
  ShowBlock(1);
  rig.core.Trigger("BMnu_BlockErase");
  EXPECT_TRUE(Sent().startsWith(SpecialFrame("27S00000") + "\x06\r" + SpecialFrame("28S00000")));
  EXPECT_TRUE(rig.programmer.chip()->readsBlank(Store::Block1));
  EXPECT_FALSE(rig.programmer.chip()->readsBlank(Store::Code));

  rig.core.Trigger("TbnErase");
  const QByteArray wire = Sent();
  EXPECT_TRUE(wire.startsWith(SpecialFrame("26S00000")));
  EXPECT_TRUE(wire.contains(BuildFrame(CommandPayload(BaseModule::CmdEraseWithSignature), false)));
  EXPECT_EQ(rig.session.Mcu.MCUCodeROMSize, 65536);
}

TEST_F(FlashBlocks, BlockSelectionIsQuietAndAFailedOneStopsTheWrite) {
  test::StartOn(rig, "76"); // SST89E516RD2
  rig.Load(Pattern(64));
  ShowBlock(1);
  rig.programmer.faults().add("fail=S@P1");
  rig.core.Trigger("TbnWrite");
  EXPECT_EQ(ui.texts(), QStringList{"Command failed due to failure of Signature Verification."});
  EXPECT_FALSE(rig.Wire().contains(QByteArray("\x05W")));
  EXPECT_FALSE(rig.session.SpecialCommandOk);
}

TEST_F(FlashBlocks, BlockEraseRefusedForSignatureOrUnansweredFails) {
  test::StartOn(rig, "071");
  rig.programmer.faults().add("fail=S@P2");
  rig.programmer.faults().add("drop@P4"); // the second erase's result never comes
  for (const char *said : {"Special command failed due to failure of Signature Verification.",
                           "The requested operation has timed out."}) {
    ui.messages.clear();
    rig.core.Trigger("MnuBlockErase");
    EXPECT_EQ(ui.texts(), QStringList{said});
    EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Special Command failed"));
    EXPECT_FALSE(rig.session.SpecialCommandOk);
  }
}

TEST_F(FlashBlocks, Block1OfTheP89V51RD2IsWrittenOnlyAfterTheAutoWarning) {
  test::StartOn(rig, "75");
  rig.Load(Pattern(64));
  ShowBlock(1);
  ui.warningAnswers = {{false, false}};
  rig.core.Trigger("TbnWrite");
  EXPECT_EQ(ui.dialogsShown, QStringList{"Warning 4"});
  EXPECT_TRUE(Sent().isEmpty());

  ui.warningAnswers = {{true, true}}; // Yes, and not again
  rig.core.Trigger("TbnWrite");
  EXPECT_TRUE(Sent().startsWith(SpecialFrame("27S00000")));
  EXPECT_EQ(Held(Store::Block1, 64), Pattern(64));
  ui.warningAnswers = {{false, false}}; // the lock warning: No
  rig.core.Trigger("TbnAuto");
  EXPECT_EQ(ui.dialogsShown.count("Warning 4"), 2) << "switched off";

  rig.core.Trigger("MnuenableWrn");
  ui.warningAnswers = {{false, false}};
  rig.core.Trigger("TbnAuto");
  EXPECT_EQ(ui.dialogsShown.count("Warning 4"), 3);
}

} // namespace
