// The firmware driven byte by byte: every command, its replies and the chip
// it leaves behind.
#include "ChipSource.h"
#include "FirmwareHarness.h"

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;
using namespace kvr::sim;
using namespace kvr::sim::test;

namespace {

const QByteArray kIdentification = kAck + ProgrammerFrame("KVR1.04");

TEST(FirmwareLine, RefusesWhatItCannotTakeAndServesWhatFollows) {
  FirmwareHarness h;
  const QByteArray presence = BuildFrame(CommandPayload(CmdPresence), false);
  EXPECT_EQ(h.send(presence), kIdentification);
  EXPECT_TRUE(h.ack().isEmpty()) << "an ACK outside a transfer is not answered";
  QByteArray badBcc = presence;
  badBcc[badBcc.size() - 2] = static_cast<char>(badBcc[badBcc.size() - 2] ^ 0x10);
  EXPECT_EQ(h.send(badBcc), Nak(DC2));
  EXPECT_EQ(h.send(BuildFrame("Q", false)), Nak(ENQ));
  EXPECT_EQ(h.command('X'), Nak(NUL));
  EXPECT_EQ(h.send(presence.left(presence.size() - 1) + presence), Nak(DC2) + kIdentification)
      << "a BCC without its CR";
  EXPECT_EQ(h.send("zz\x06" + presence), kIdentification) << "noise before a frame";
  EXPECT_EQ(h.send(QByteArray(1, STX) + QByteArray(FrameSplitter::kMaxFrame + 9, 'A') + presence),
            Nak(DC2) + kIdentification);
}

TEST(FirmwareSignature, ComparesTypeSizeAndAsManySignatureBytesAsCounted) {
  FirmwareHarness h;
  const QByteArray held = EncodeAll(QByteArray::fromHex("1E7200"));
  EXPECT_EQ(h.verifySignature(), kAck + ProgrammerFrame("P " + held));
  EXPECT_TRUE(h.firmware.signatureVerified());

  const auto answer = [&](void (*change)(ChipModel &), const QByteArray &count) {
    ChipModel announced = h.chip().model();
    change(announced);
    return h.command(CmdSignature, FirmwareHarness::SignatureFields(announced, count));
  };
  EXPECT_EQ(answer([](ChipModel &m) { m.codeSize = 4096; }, "2"),
            kAck + ProgrammerFrame("FS" + held));
  EXPECT_FALSE(h.firmware.signatureVerified());
  EXPECT_EQ(answer([](ChipModel &m) { m.signature[1] = 0x52; }, "2"),
            kAck + ProgrammerFrame("FS" + held));
  EXPECT_EQ(answer([](ChipModel &m) { m.signature[2] = 0x06; }, "2"),
            kAck + ProgrammerFrame("P " + held));
  EXPECT_EQ(answer([](ChipModel &m) { m.signature[2] = 0x06; }, "3"),
            kAck + ProgrammerFrame("FS" + held));
  EXPECT_EQ(answer([](ChipModel &m) { m.typeBytes[0] = 0x7F; }, "2"),
            kAck + ProgrammerFrame("FN" + held));
  EXPECT_EQ(answer([](ChipModel &) {}, "9"), Nak(NUL));
  QByteArray letters = FirmwareHarness::SignatureFields(h.chip().model());
  letters[17] = 'x'; // among the five size digits
  EXPECT_EQ(h.command(CmdSignature, letters), Nak(NUL));
  EXPECT_EQ(h.command(CmdSignature, letters.left(20)), Nak(NUL));
}

TEST(FirmwareErase, EraseWithSignatureWaitsForAPassingSignature) {
  FirmwareHarness h;
  EXPECT_EQ(h.command(CmdEraseWithSignature), kAck + ProgrammerFrame("FS"));
  h.verifySignature();
  EXPECT_EQ(h.command(CmdEraseWithSignature), kAck + ProgrammerFrame("P "));
}

TEST(FirmwareErase, ChipEraseClearsCodeBlockOneAndLockAndBlankCheckSeesIt) {
  for (const char letter : {CmdErase12V, CmdErase5V}) {
    FirmwareHarness h(QStringLiteral("071"));
    h.chip().write(Store::Code, 100, "\x12");
    h.chip().write(Store::Block1, 5, "\x34");
    h.chip().write(Store::ConfigBits, 0, "\x08");
    EXPECT_EQ(h.command(CmdBlankCheck), kAck + ProgrammerFrame("FV"));
    h.chip().programLockBits(0x03);
    EXPECT_EQ(h.command(CmdBlankCheck), kAck + ProgrammerFrame("P ")) << "read-protected";
    EXPECT_EQ(h.command(letter), kAck + ProgrammerFrame("P "));
    EXPECT_FALSE(h.chip().isLocked());
    EXPECT_TRUE(h.chip().readsBlank(Store::Code) && h.chip().readsBlank(Store::Block1));
    EXPECT_EQ(h.chip().read(Store::ConfigBits, 0, 1), "\x08") << "special bytes stay";
  }
  FirmwareHarness zero(QStringLiteral("039"));
  zero.chip().programLockBits(0x02);
  EXPECT_EQ(zero.command(CmdBlankCheck), kAck + ProgrammerFrame("FV")) << "reads 00h";
}

TEST(FirmwareWrite, BlocksAreAcknowledgedProgrammedAndReported) {
  FirmwareHarness h;
  h.chip().write(Store::Code, 4000, QByteArray(1, 0)); // the write erases first
  const QByteArray image = Pattern(64);
  EXPECT_EQ(h.command(CmdWrite, "00064"), kAck);
  EXPECT_EQ(h.block(image.left(32), true), kAck + ProgrammerFrame("P 0000000032"));
  EXPECT_TRUE(h.ack().isEmpty());
  EXPECT_EQ(h.block(image.mid(32), false), kAck + ProgrammerFrame("P 0003200064"));
  EXPECT_TRUE(h.ack().isEmpty() && h.ack().isEmpty()) << "block ACK, then the final ACK";
  EXPECT_EQ(h.chip().read(Store::Code, 0, 64), image);
  EXPECT_TRUE(h.chip().read(Store::Code, 64, 8192).count('\xFF') == 8192 - 64);
  EXPECT_EQ(h.block(image.left(32), false), Nak(ENQ)) << "the write is over";
}

TEST(FirmwareWrite, ASpoiltBlockIsRefusedAndACommandEndsTheWrite) {
  FirmwareHarness h;
  h.command(CmdWrite, "00064");
  QByteArray frame = BuildFrame(EncodeAll(Pattern(32)) + ETB, false);
  frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x04);
  EXPECT_EQ(h.send(frame), Nak(DC2));
  EXPECT_EQ(h.send(BuildFrame(EncodeAll(Pattern(31)) + ETB, false)), Nak(DC2)) << "short";
  EXPECT_EQ(h.block(Pattern(32), true), kAck + ProgrammerFrame("P 0000000032"));
  EXPECT_EQ(h.command(CmdPresence), kIdentification);
  EXPECT_EQ(h.block(Pattern(32), false), Nak(ENQ));
}

TEST(FirmwareWrite, ABlockWhoseBccIsCrIsTakenWhole) {
  FirmwareHarness h;
  QByteArray bytes(32, '\xFF');
  bytes[0] = static_cast<char>(0xE0); // nibbles xor to 0Eh, with ETX: BCC 0Dh
  ASSERT_EQ(BuildFrame(EncodeAll(bytes), false).right(2), QByteArray("\r\r"));
  h.command(CmdWrite, "00032");
  EXPECT_EQ(h.block(bytes, false), kAck + ProgrammerFrame("P 0000000032"));
  EXPECT_EQ(h.chip().read(Store::Code, 0, 1), QByteArray("\xE0"));
}

TEST(FirmwareWrite, ALockedChipFailsItsEraseAndBeyondTheEndFailsVerification) {
  FirmwareHarness h;
  h.chip().write(Store::Code, 0, "\x11");
  h.chip().programLockBits(0x01);
  h.command(CmdWrite, "00064");
  EXPECT_EQ(h.block(Pattern(32), true), kAck + ProgrammerFrame("FE0000000032"));
  EXPECT_EQ(h.block(Pattern(32), false), Nak(ENQ)) << "the write ended at the failure";
  EXPECT_EQ(h.chip().read(Store::Code, 0, 1), "\x11");

  h.chip().eraseChip();
  h.command(CmdWrite, "08224"); // one block more than the chip holds
  for (int block = 0; block < 256; ++block)
    ASSERT_EQ(h.block(Pattern(32), true).mid(2, 3), QByteArray("\x02P "));
  EXPECT_EQ(h.block(Pattern(32), false), kAck + ProgrammerFrame("FV0819208224"));
}

TEST(FirmwareRead, EachBlockIsAStatusThenADataFrameOnThePcsAcks) {
  FirmwareHarness h;
  const QByteArray image = Pattern(64, 3);
  h.chip().write(Store::Code, 0, image);
  EXPECT_EQ(h.command(CmdRead, "00064"), kAck + ProgrammerFrame("P "));
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(image.left(32)), true));
  EXPECT_EQ(h.ack(), ProgrammerFrame("P "));
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(image.mid(32)), false));
  EXPECT_TRUE(h.ack().isEmpty());

  h.chip().programLockBits(0x03);
  h.command(CmdRead, "00032");
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(QByteArray(32, '\xFF'))));
  FirmwareHarness zero(QStringLiteral("75"));
  zero.chip().programLockBits(0x03);
  zero.command(CmdRead, "00032");
  EXPECT_EQ(zero.ack(), ProgrammerFrame(EncodeAll(QByteArray(32, '\0'))));
}

TEST(FirmwareRead, ABlockPastTheEndFailsAndEndsTheRead) {
  FirmwareHarness h(QStringLiteral("08B")); // 1024 bytes: 32 blocks
  EXPECT_EQ(h.command(CmdRead, "01056"), kAck + ProgrammerFrame("P "));
  for (int block = 1; block <= 32; ++block) {
    ASSERT_EQ(h.ack().size(), 68);
    ASSERT_EQ(h.ack(), ProgrammerFrame(block < 32 ? "P " : "FV"));
  }
  EXPECT_TRUE(h.ack().isEmpty());
}

TEST(FirmwareLock, TheResultSaysWhetherTheLockedChipReadsBlank) {
  FirmwareHarness h;
  h.chip().write(Store::Code, 0, Pattern(32));
  EXPECT_EQ(h.command(CmdLock, "1000"), kAck + ProgrammerFrame("PN")) << "LB1 leaves reading";
  EXPECT_EQ(h.command(CmdLock, "0100"), kAck + ProgrammerFrame("PB"));
  EXPECT_EQ(h.command(CmdLock, "0001"), kAck + ProgrammerFrame("PB"));
  EXPECT_EQ(h.chip().lockBits(), 0x03) << "bits add up; the chip has three";
  EXPECT_EQ(h.command(CmdLock, "10a0"), Nak(NUL));
  EXPECT_EQ(h.command(CmdLock, "100"), Nak(NUL));
  for (const char *id : {"039", "75"}) {
    FirmwareHarness zero(QString::fromLatin1(id));
    EXPECT_EQ(zero.command(CmdLock, "1100"), kAck + ProgrammerFrame("P")) << id;
  }
}

TEST(FirmwareEmptySocket, EveryChipCommandFailsOnTheSignature) {
  FirmwareHarness h(QString{});
  EXPECT_EQ(h.command(CmdPresence), kIdentification);
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(*FindBuiltInChip("017"))),
            kAck + ProgrammerFrame("FS" + EncodeAll(QByteArray(3, '\xFF'))));
  for (const char letter : {CmdBlankCheck, CmdEraseWithSignature, CmdErase12V, CmdErase5V})
    EXPECT_EQ(h.command(letter), kAck + ProgrammerFrame("FS")) << letter;
  EXPECT_EQ(h.command(CmdLock, "1100"), kAck + ProgrammerFrame("FS"));
  EXPECT_EQ(h.command(CmdRead, "08192"), kAck + ProgrammerFrame("FS"));
  h.command(CmdWrite, "08192");
  EXPECT_EQ(h.block(Pattern(32), true), kAck + ProgrammerFrame("FS0000000032"));
  EXPECT_EQ(h.command(CmdSpecial, "26S00000"), kAck + ProgrammerFrame("FS"));
}

} // namespace
