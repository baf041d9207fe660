// Erase, blank check, write, read, lock and Auto, end to end through the
// simulated programmer: the bytes on the line, the messages in order, the
// status texts, the chip and the buffer afterwards; then how they fail.
#include "BaseModule.h"
#include "Checksum.h"
#include "CommandSet.h"
#include "FileSizeLimit.h"
#include "Frame.h"
#include "SimRig.h"
#include "WriteRead.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;
using kvr::test::Pattern;

namespace {

const QByteArray kClosingAck("\x06\x0d", 2);

struct Operations : ::testing::Test {
  test::SimRig rig;
  Session &session = rig.session;
  test::ScriptedUi &ui = rig.ui;
  AppCore &core = rig.core;
};

TEST_F(Operations, HundredByteBinaryGoesOutAsFourBlocks) {
  rig.Start("017"); // AT89S8252, 8 KB
  const QByteArray image = Pattern(100);
  rig.Load(image);
  core.Trigger("TbnWrite");
  const QByteArray wire = rig.Wire();

  EXPECT_TRUE(wire.startsWith(BuildFrame(CommandPayload(CmdWrite, "00128"), false)));
  QList<QByteArray> blocks;
  for (qsizetype at = wire.indexOf(STX, 1); at >= 0; at = wire.indexOf(STX, at + 1))
    blocks.append(wire.mid(at, 2 * kBlockSize + 4));
  ASSERT_EQ(blocks.size(), 4);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(blocks[i][1 + 2 * kBlockSize], ETB) << "block " << i;
  EXPECT_EQ(blocks[3][1 + 2 * kBlockSize], ETX);
  // Bytes 100..127 are "XX": they travel as FFh.
  EXPECT_EQ(blocks[3].mid(1 + 2 * 4, 2), QByteArray("//"));
  EXPECT_TRUE(wire.endsWith(kClosingAck + kClosingAck)) << "block ACK, then the final ACK";

  EXPECT_EQ(rig.ChipCode(100), image);
  EXPECT_EQ(rig.ChipCode(128).mid(100), QByteArray(28, static_cast<char>(0xFF)));
  EXPECT_EQ(ui.texts(),
            QStringList{
                "File written successfully to ATMEL  AT89S8252\r\rNumber of bytes written : 128"});
  EXPECT_EQ(ui.floatingMessages, QStringList{"Wait . . .  Erasing and Blank Checking the MCU."});
  for (const char *written : {"Writing - 32 Bytes", "Writing - 128 Bytes"})
    EXPECT_TRUE(ui.activityHistory.contains(written)) << written;
  EXPECT_TRUE(core.panel().isEnabled("TbnWrite")) << "menus restored";
  EXPECT_FALSE(core.panel().isEnabled("TbnStop"));
}

// A file larger than the device: declined, nothing goes out; accepted, the
// first 4 KB go out. One byte more is the file's end mark: no question.
TEST_F(Operations, OversizedFileAsksThenIsAbortedOrCappedAtTheDevice) {
  rig.Start("001"); // AT89C51, 4 KB
  rig.Load(Pattern(4096 + 2));
  ui.answers = {Answer::No};
  core.Trigger("TbnWrite");
  EXPECT_TRUE(rig.Wire().isEmpty());
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Write Aborted"));

  rig.Load(Pattern(4096 + 1));
  core.Trigger("TbnWrite");
  EXPECT_EQ(ui.texts().size(), 2);
  EXPECT_TRUE(ui.texts()[1].startsWith("File written successfully"));

  ui.messages.clear();
  rig.port.clearSentBytes();
  rig.Load(Pattern(0x1100), "prog.HEX");
  ui.answers = {Answer::Yes};
  core.Trigger("MnuWrite");
  EXPECT_TRUE(rig.Wire().startsWith(BuildFrame(CommandPayload(CmdWrite, "04096"), false)));
  EXPECT_TRUE(ui.texts()[0].startsWith("The size of the file prog.HEX is more than the size"));
  EXPECT_TRUE(ui.texts()[0].contains("Size of File : 4.25 Kb\rSize of MCU  : 4.00 Kb"));
  EXPECT_EQ(rig.ChipCode(4096), Pattern(4096));
}

// The user asked for the changed file: when it cannot be loaded (here it is
// gone), neither the write nor Auto goes on with the old image.
TEST_F(Operations, AChangedFileThatCannotBeReloadedIsNotWritten) {
  rig.Start("001");
  rig.Load(Pattern(64));
  core.buffer().OpenedFilePath = rig.folder.path() + "/gone.bin";
  ui.answers = {Answer::Yes}; // open the new file and write it
  core.Trigger("TbnAuto");
  EXPECT_EQ(ui.texts().value(1), "The file " + core.buffer().OpenedFilePath +
                                     " could not be opened: No such file or directory.");
  EXPECT_TRUE(rig.Wire().isEmpty()) << "nothing is written, nothing locked";
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Write Aborted"));
}

TEST_F(Operations, EraseBlankCheckAndTheirPayloads) {
  rig.Start("017");
  ASSERT_TRUE(rig.programmer.chip()->write(sim::Store::Code, 0, Pattern(64)));
  core.Trigger("TbnErase");
  core.Trigger("TbnBlankCheck");
  EXPECT_EQ(ui.texts(), (QStringList{"MCU successfully Erased.", "MCU is Blank."}));
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Blank Check"));
  core.Trigger("MnuErase12V");
  core.Trigger("MnuErase5V");
  const QByteArray wire = rig.Wire();
  for (char letter : {'B', 'E', 'O', 'C'})
    EXPECT_TRUE(wire.contains(BuildFrame(CommandPayload(letter), false))) << letter;
  EXPECT_EQ(wire.count(kClosingAck), 4) << "every command is closed";
}

// Read asks before it replaces the screen; once the user agrees, the chip's
// code fills the buffer, an image of no file.
TEST_F(Operations, ReadAsksThenFillsTheBufferFromTheChip) {
  rig.Start("001");
  ASSERT_TRUE(rig.programmer.chip()->write(sim::Store::Code, 0, Pattern(4096)));
  rig.Load(Pattern(32));
  session.BufferModified = true;
  int saves = 0;
  core.context().files.save = [&] { ++saves; };
  ui.answers = {Answer::Yes, Answer::No};
  core.Trigger("TbnRead");
  const QStringList asked{"Current file not saved. Save?",
                          "Read will clear the current contents of the screen.\r\n\r\n"
                          "Do you wish to continue?"};
  EXPECT_EQ(ui.texts(), asked);
  EXPECT_TRUE(rig.Wire().isEmpty());
  EXPECT_EQ(core.buffer().rowCount(), 2);

  ui.answers = {Answer::No, Answer::Yes};
  core.Trigger("TbnRead");
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(rig.Wire().startsWith(BuildFrame(CommandPayload(CmdRead, "04096"), false)));
  EXPECT_EQ(ui.texts(), asked + asked + QStringList{"End of Read.\r\rTotal  4096 bytes read."});
  const ImageBuffer &buffer = core.buffer();
  ASSERT_EQ(buffer.rowCount(), 256);
  for (int a = 0; a < 4096; a += 97)
    ASSERT_EQ(buffer.byte(a), static_cast<unsigned char>(Pattern(4096)[a])) << a;
  EXPECT_TRUE(buffer.CurrentFilePath.isEmpty());
  EXPECT_TRUE(session.BufferModified);
  EXPECT_EQ(ui.panelText(Panel::SbrFile), QString("File : "));
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Read"));
  EXPECT_TRUE(ui.activityHistory.contains("Read (4096 Bytes)"));
  EXPECT_TRUE(QDir(rig.folder.path() + "/Data").entryList({"$KVR104Temp*"}).isEmpty())
      << "the temporary image is gone";
  EXPECT_FALSE(core.panel().isVisible("MnuFileLastFile1"))
      << "the image read from the chip is no recent file";

  // A disk full after 1 KB cuts the image short: the read fails there and the buffer stays.
  ASSERT_TRUE(rig.programmer.chip()->write(sim::Store::Code, 0, QByteArray(4096, 0x5A)));
  ui.answers = {Answer::No, Answer::Yes};
  {
    test::FileSizeLimit fullAfter1K(1024);
    ASSERT_TRUE(fullAfter1K.inForce());
    core.Trigger("TbnRead");
  }
  EXPECT_TRUE(ui.texts().last().contains(" could not be saved: "))
      << ui.texts().last().toStdString();
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Read Failed"));
  EXPECT_EQ(buffer.imageBytes(4096), Pattern(4096));
}

// Characters left on the line after a reply must not be read as the next
// block's acknowledgement or status: each block starts from an empty line.
TEST_F(Operations, LineNoiseBetweenBlocksIsNotTakenForTheNextReply) {
  for (const char *fault : {"noise=\x15\x12\r@W1/blk2", "noise=\x15\x12\r@R1/blk2"}) {
    SCOPED_TRACE(fault);
    test::SimRig rig;
    rig.Start("001");
    const bool write = QByteArray(fault).contains("@W");
    if (!write) {
      ASSERT_TRUE(rig.programmer.chip()->write(sim::Store::Code, 0, Pattern(4096)));
    }
    rig.Load(write ? Pattern(4096) : QByteArray(4096, '\0'));
    rig.ui.answers = {Answer::Yes};
    rig.programmer.faults().add(fault);
    rig.core.Trigger(write ? "TbnWrite" : "TbnRead");
    EXPECT_TRUE(
        rig.ui.texts().last().startsWith(write ? "File written successfully" : "End of Read"))
        << rig.ui.texts().join(" | ").toStdString();
    EXPECT_TRUE(rig.ChipCode(4096) == Pattern(4096));
    EXPECT_TRUE(rig.core.buffer().imageBytes(4096) == Pattern(4096));
  }
}

// With the 6x clock box ticked, a passed write switches the chip to 6x clock
// from the next whole second on.
TEST_F(Operations, ATickedSixClockBoxSwitchesTheChipAfterAPassedWrite) {
  rig.Start("039");
  rig.Load(Pattern(64));
  core.panel().showSixClockBox(true);
  core.panel().setValue("chkClkSpeed", 1);
  core.Trigger("TbnWrite");
  EXPECT_TRUE(ui.texts().join(' ').contains("File written successfully"))
      << ui.texts().join(" | ").toStdString();
  EXPECT_TRUE(rig.Wire().contains(BuildFrame(CommandPayload(CmdSpecial, "15S00000"), false)));
}

TEST_F(Operations, LockSendsTheChosenBits) {
  rig.Start("017");
  ui.lockBitChoices = {std::array<bool, 4>{false, true, false, false}};
  core.Trigger("TbnLock");
  EXPECT_TRUE(rig.Wire().startsWith(BuildFrame(CommandPayload(CmdLock, "0100"), false)));
  EXPECT_EQ(ui.lastLockBitsSetup.captions[0], QString("Set LB1 Lock"));
  EXPECT_TRUE(ui.lastLockBitsSetup.enabled[2]);
  EXPECT_FALSE(ui.lastLockBitsSetup.enabled[3]) << "no device has the oscillator gain box";
  EXPECT_EQ(ui.lastLockBitsSetup.captions[3], QString("Lock Bit 4"));
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(ui.messages[0].text.startsWith("Lock Passed.\r"));
}

// Auto locks with all of the device's lock bits; the locked chip then reads
// blank, or 00h where its locked code reads so.
TEST_F(Operations, AutoWritesAndLocksWithTheDevicesLockBitsThenReadsLocked) {
  const struct {
    const char *id;
    const char *passed;
    const char *bits;
    int rows;
    unsigned char locked;
  } cases[] = {
      {"017", "MCU Erased, file successfully Written, Lock passed and Blank Check verified.",
       "1110", 512, 0xFF}, // three lock bits
      {"0A3", "Block 0 Erased, file successfully Written, Lock passed and Blank Check verified.",
       "1100", 1024, 0x00}, // SSTCXX
  };
  for (const auto &c : cases) {
    test::SimRig rig;
    rig.Start(c.id);
    rig.Load(Pattern(96));
    rig.core.Trigger("TbnAuto");
    EXPECT_EQ(rig.ui.texts(), QStringList{c.passed});
    EXPECT_TRUE(rig.programmer.chip()->isLocked()) << c.id;
    EXPECT_TRUE(rig.Wire().contains(BuildFrame(CommandPayload(CmdLock, c.bits), false))) << c.id;
    rig.core.buffer().clear();
    rig.core.Trigger("TbnRead");
    ASSERT_EQ(rig.core.buffer().rowCount(), c.rows) << c.id;
    EXPECT_EQ(rig.core.buffer().byte(0), c.locked) << c.id;
  }
}

// Tool > Production log: a line for each Auto, passed or with the warnings
// the user was shown; a log that cannot be written is refused at once.
TEST_F(Operations, AutoLogsEveryChipToTheProductionLogChosenInTheToolMenu) {
  rig.Start("017");
  rig.Load(Pattern(96), rig.folder.path() + "/prog.bin");
  ui.saveChoices = {rig.folder.path(), rig.folder.path() + "/line.jsonl"};
  core.Trigger("MnuProductionLog");
  EXPECT_FALSE(core.productionLog().isOpen());
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_TRUE(ui.messages[0].text.startsWith("The production log "))
      << ui.texts().join("|").toStdString();
  core.Trigger("MnuProductionLog");
  ASSERT_TRUE(core.productionLog().isOpen());

  core.Trigger("TbnAuto");
  core.Trigger("TbnAuto"); // the chip is locked now: the write fails
  QFile file(rig.folder.path() + "/line.jsonl");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_EQ(lines.size(), 3) << "two lines, each ended";
  const ImageChecksum image = ChecksumOf(Pattern(96));
  for (int i = 0; i < 2; ++i) {
    const QJsonObject line = QJsonDocument::fromJson(lines[i]).object();
    EXPECT_EQ(line["port"].toString(), "COM1");
    EXPECT_EQ(line["device"].toString(), "017");
    EXPECT_EQ(line["file"].toString(), rig.folder.path() + "/prog.bin");
    EXPECT_EQ(line["crc32"].toString().toUInt(nullptr, 16), image.crc32);
    EXPECT_EQ(line["result"].toString(), i == 0 ? "passed" : "failed");
  }
  EXPECT_EQ(QJsonDocument::fromJson(lines[1]).object()["message"].toString(),
            "Block write failed due to Erase failure. Write failed.");
}

// Stop pressed in the middle of a transfer: the programmer still gets its
// closing ACK, the status says interrupted, not failed, Auto sends no lock and
// the buffer is left as it was.
TEST_F(Operations, StopMidTransferClosesTheExchangeAndSaysInterrupted) {
  const struct {
    const char *control;
    int stopAt; // the pass of the event loop at which Stop is pressed
    const char *status;
  } cases[] = {{"TbnWrite", 20, "Write Interrupted"},
               {"TbnAuto", 10, "Write Interrupted"},
               {"TbnRead", 30, "Read Interrupted"}};
  for (const auto &c : cases) {
    test::SimRig rig;
    rig.Start("001");
    rig.Load(Pattern(4096));
    const QByteArray before = rig.core.buffer().imageBytes(4096);
    rig.ui.answers = {Answer::Yes}; // a read asks before it replaces the screen
    int passes = 0;
    rig.ui.onProcessEvents = [&] {
      if (++passes == c.stopAt)
        rig.session.requestStop();
    };
    rig.core.Trigger(c.control);
    EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), QString(c.status));
    EXPECT_TRUE(rig.ui.texts().contains("Operation interrupted by the user. Please wait for the "
                                        "Vpp LED to go off before selecting another Command"))
        << c.control;
    EXPECT_FALSE(rig.ui.texts().join('|').contains("failed")) << c.control;
    const QByteArray wire = rig.Wire();
    EXPECT_TRUE(wire.endsWith(kClosingAck)) << c.control;
    EXPECT_FALSE(wire.contains(QByteArray("\x05L"))) << c.control;
    EXPECT_FALSE(rig.session.StopRequested());
    EXPECT_TRUE(rig.core.panel().isEnabled("TbnWrite"));
    EXPECT_EQ(rig.core.buffer().imageBytes(4096), before) << c.control;
    EXPECT_EQ(rig.core.buffer().rowCount(), 256) << c.control;
  }
}

TEST_F(Operations, StopIsOffBetweenCommandsAndAStrayPressEndsNone) {
  rig.Start("017");
  ui.portChoices = {1};
  core.Trigger("MnuSelect");
  ASSERT_TRUE(session.ProgrammerPresent);
  EXPECT_FALSE(core.panel().isEnabled("TbnStop")) << "after the port dialog";
  session.requestStop(); // as a press that came before the command would
  core.Trigger("TbnVerifySignature");
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Signature Verified"));
}

TEST_F(Operations, SignatureFailureOnAnUnverifiedChipLeavesTheEraseButtons) {
  rig.Start("001");
  rig.session.SignatureVerified = false;
  rig.programmer.faults().add("fail=S@E1");
  rig.core.eraseBlank().EraseMCU('E');
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_12v"));
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_5v"));

  // The same after a read whose first status frame reports it.
  rig.core.panel().SetMenuOptions(false);
  ASSERT_FALSE(rig.core.panel().isEnabled("TbnErase_12v"));
  rig.programmer.faults().add("fail=S@R1/blk1");
  rig.core.writeRead().ReadMCU();
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_12v"));
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_5v"));
}

} // namespace
