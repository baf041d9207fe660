// The firmware driven byte by byte: every command, its replies and the chip
// it leaves behind.
#include "FirmwareHarness.h"

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;
using namespace kvr::sim;
using namespace kvr::sim::test;

namespace {

int ResultLength(char letter) { return FindCommand(letter)->resultLength; }

TEST(FirmwareLine, PresenceAnswersAckThenTheIdentificationFrame) {
  FirmwareHarness h;
  const QByteArray reply = h.command(CmdPresence);
  EXPECT_EQ(reply, kAck + ProgrammerFrame("KVR1.04"));
  EXPECT_EQ(reply.size() - kAck.size(), ResultLength(CmdPresence));
  EXPECT_TRUE(h.ack().isEmpty()) << "an ACK outside a transfer is not answered";
}

TEST(FirmwareLine, RefusesWhatItCannotTake) {
  FirmwareHarness h;
  QByteArray badBcc = BuildFrame(CommandPayload(CmdPresence), false);
  badBcc[badBcc.size() - 2] = static_cast<char>(badBcc[badBcc.size() - 2] ^ 0x10);
  EXPECT_EQ(h.send(badBcc), Nak(DC2));
  EXPECT_EQ(h.send(BuildFrame("Q", false)), Nak(ENQ));
  EXPECT_EQ(h.command('X'), Nak(NUL));
  EXPECT_EQ(h.command('q'), Nak(NUL)) << "letters are upper case";

  // A frame whose BCC is not followed by CR is refused, and the frame after it served.
  QByteArray unterminated = BuildFrame(CommandPayload(CmdPresence), false);
  unterminated.chop(1);
  EXPECT_EQ(h.send(unterminated + BuildFrame(CommandPayload(CmdPresence), false)),
            Nak(DC2) + kAck + ProgrammerFrame("KVR1.04"));
  // Noise before a frame does not disturb it.
  EXPECT_EQ(h.send(QByteArray("zz\x06") + BuildFrame(CommandPayload(CmdPresence), false)),
            kAck + ProgrammerFrame("KVR1.04"));
}

TEST(FirmwareLine, AnOverlongFrameIsRefusedAndForgotten) {
  FirmwareHarness h;
  EXPECT_EQ(h.send(QByteArray(1, STX) + QByteArray(FrameSplitter::kMaxFrame + 10, 'A')), Nak(DC2));
  EXPECT_EQ(h.command(CmdPresence), kAck + ProgrammerFrame("KVR1.04"));
}

TEST(FirmwareSignature, PassesForTheSeatedChipAndNamesItsBytes) {
  FirmwareHarness h;
  const QByteArray reply = h.verifySignature();
  const QByteArray frame = ProgrammerFrame("P " + EncodeAll(QByteArray::fromHex("1E7200")));
  EXPECT_EQ(reply, kAck + frame);
  EXPECT_GE(frame.size(), ResultLength(CmdSignature));
  EXPECT_TRUE(h.firmware.signatureVerified());
}

TEST(FirmwareSignature, FailsForAnotherDeviceAndTellsAnUnknownFamily) {
  FirmwareHarness h;
  const QByteArray held = EncodeAll(QByteArray::fromHex("1E7200"));
  ChipModel other = h.chip().model();
  other.codeSize = 4096;
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(other)),
            kAck + ProgrammerFrame("FS" + held));

  other = h.chip().model();
  other.signature[1] = 0x52;
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(other)),
            kAck + ProgrammerFrame("FS" + held));

  // Only as many signature bytes as the count says are compared.
  other = h.chip().model();
  other.signature[2] = 0x06;
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(other, "2")),
            kAck + ProgrammerFrame("P " + held));
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(other, "3")),
            kAck + ProgrammerFrame("FS" + held));
  EXPECT_FALSE(h.firmware.signatureVerified());

  other = h.chip().model();
  other.typeBytes[0] = 0x7F;
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(other)),
            kAck + ProgrammerFrame("FN" + held));
}

TEST(FirmwareSignature, MalformedFieldsAreAnUnknownCommand) {
  FirmwareHarness h;
  const QByteArray good = FirmwareHarness::SignatureFields(h.chip().model());
  EXPECT_EQ(h.command(CmdSignature, good.left(20)), Nak(NUL));
  QByteArray letters = good;
  letters[17] = 'x'; // in the five size digits
  EXPECT_EQ(h.command(CmdSignature, letters), Nak(NUL));
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(h.chip().model(), "9")),
            Nak(NUL));
}

TEST(FirmwareErase, EraseWithSignatureNeedsAPassingSignatureFirst) {
  FirmwareHarness h;
  EXPECT_EQ(h.command(CmdEraseWithSignature), kAck + ProgrammerFrame("FS"));
  h.verifySignature();
  EXPECT_EQ(h.command(CmdEraseWithSignature), kAck + ProgrammerFrame("P "));
  ChipModel other = h.chip().model();
  other.codeSize = 4096;
  h.command(CmdSignature, FirmwareHarness::SignatureFields(other));
  EXPECT_EQ(h.command(CmdEraseWithSignature), kAck + ProgrammerFrame("FS"));
}

TEST(FirmwareErase, ChipEraseClearsCodeBlockOneAndLockAndBlankCheckSeesIt) {
  for (const char letter : {CmdErase12V, CmdErase5V}) {
    FirmwareHarness h(QStringLiteral("071"));
    h.chip().write(Store::Code, 100, "\x12");
    h.chip().write(Store::Block1, 5, "\x34");
    h.chip().write(Store::ConfigBits, 0, "\x08");
    h.chip().programLockBits(0x03);
    EXPECT_EQ(h.command(CmdBlankCheck), kAck + ProgrammerFrame("P "))
        << "a read-protected chip reads blank";
    const QByteArray reply = h.command(letter);
    EXPECT_EQ(reply, kAck + ProgrammerFrame("P "));
    EXPECT_EQ(reply.size() - kAck.size(), ResultLength(letter));
    EXPECT_FALSE(h.chip().isLocked());
    EXPECT_TRUE(h.chip().readsBlank(Store::Code));
    EXPECT_TRUE(h.chip().readsBlank(Store::Block1));
    EXPECT_EQ(h.chip().read(Store::ConfigBits, 0, 1), "\x08") << "special bytes stay";
  }
}

TEST(FirmwareErase, BlankCheckFailsOnProgrammedOrZeroReadingChips) {
  FirmwareHarness h;
  h.chip().write(Store::Code, 8191, QByteArray(1, 0));
  const QByteArray reply = h.command(CmdBlankCheck);
  EXPECT_EQ(reply, kAck + ProgrammerFrame("FV"));
  EXPECT_EQ(reply.size() - kAck.size(), ResultLength(CmdBlankCheck));

  FirmwareHarness zero(QStringLiteral("039"));
  zero.chip().programLockBits(0x02);
  EXPECT_EQ(zero.command(CmdBlankCheck), kAck + ProgrammerFrame("FV"));
}

TEST(FirmwareWrite, BlocksAreAcknowledgedProgrammedAndReported) {
  FirmwareHarness h;
  h.chip().write(Store::Code, 4000, QByteArray(1, 0)); // erased by the write
  const QByteArray image = Pattern(64);
  EXPECT_EQ(h.command(CmdWrite, "00064"), kAck);
  const QByteArray first = h.block(image.left(32), true);
  EXPECT_EQ(first, kAck + ProgrammerFrame("P 0000000032"));
  EXPECT_EQ(first.size() - kAck.size(), FindCommand(CmdWrite)->blockResultLength);
  EXPECT_TRUE(h.ack().isEmpty());
  EXPECT_EQ(h.block(image.mid(32), false), kAck + ProgrammerFrame("P 0003200064"));
  EXPECT_TRUE(h.ack().isEmpty());
  EXPECT_TRUE(h.ack().isEmpty()) << "the final ACK";
  EXPECT_EQ(h.chip().read(Store::Code, 0, 64), image);
  EXPECT_TRUE(h.chip().read(Store::Code, 64, 8192 - 64).count('\xFF') == 8192 - 64);
  // The transfer is over: a further block is a frame without ENQ.
  EXPECT_EQ(h.block(image.left(32), false), Nak(ENQ));
}

TEST(FirmwareWrite, ASpoiltBlockIsRefusedThenTakenAgain) {
  FirmwareHarness h;
  h.command(CmdWrite, "00032");
  QByteArray payload = EncodeAll(Pattern(32));
  QByteArray frame = BuildFrame(payload, false);
  frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x04);
  EXPECT_EQ(h.send(frame), Nak(DC2));
  EXPECT_EQ(h.send(BuildFrame(payload.left(62), false)), Nak(DC2)) << "a short block";
  EXPECT_EQ(h.block(Pattern(32), false), kAck + ProgrammerFrame("P 0000000032"));
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
  h.chip().eraseChip();
  EXPECT_EQ(h.chip().read(Store::Code, 0, 1), QByteArray("\xFF"));

  h.command(CmdWrite, "08224"); // one block more than the chip holds
  for (int block = 0; block < 256; ++block)
    ASSERT_EQ(h.block(Pattern(32), true).mid(2, 3), QByteArray("\x02P "));
  EXPECT_EQ(h.block(Pattern(32), false), kAck + ProgrammerFrame("FV0819208224"));
}

TEST(FirmwareWrite, ACommandEndsAnUnfinishedTransfer) {
  FirmwareHarness h;
  h.command(CmdWrite, "00064");
  h.block(Pattern(32), true);
  EXPECT_EQ(h.command(CmdPresence), kAck + ProgrammerFrame("KVR1.04"));
  EXPECT_EQ(h.block(Pattern(32), false), Nak(ENQ));
}

TEST(FirmwareRead, EachBlockIsAStatusThenADataFrameOnTheAcks) {
  FirmwareHarness h;
  const QByteArray image = Pattern(64, 3);
  h.chip().write(Store::Code, 0, image);
  const QByteArray status = h.command(CmdRead, "00064");
  EXPECT_EQ(status, kAck + ProgrammerFrame("P "));
  EXPECT_EQ(status.size() - kAck.size(), ResultLength(CmdRead));
  const QByteArray first = h.ack();
  EXPECT_EQ(first, ProgrammerFrame(EncodeAll(image.left(32)), true));
  EXPECT_EQ(first.size(), FindCommand(CmdRead)->blockResultLength);
  EXPECT_EQ(h.ack(), ProgrammerFrame("P "));
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(image.mid(32)), false));
  EXPECT_TRUE(h.ack().isEmpty());
}

TEST(FirmwareRead, ALockedChipReadsBlankOrZeroAndTheEndFailsVerification) {
  FirmwareHarness h;
  h.chip().write(Store::Code, 0, Pattern(32));
  h.chip().programLockBits(0x03);
  h.command(CmdRead, "00032");
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(QByteArray(32, '\xFF'))));

  FirmwareHarness zero(QStringLiteral("75"));
  zero.chip().write(Store::Code, 0, Pattern(32));
  zero.chip().programLockBits(0x03);
  zero.command(CmdRead, "00032");
  EXPECT_EQ(zero.ack(), ProgrammerFrame(EncodeAll(QByteArray(32, '\0'))));

  FirmwareHarness small(QStringLiteral("08B")); // 1024 bytes: 32 blocks
  EXPECT_EQ(small.command(CmdRead, "01056"), kAck + ProgrammerFrame("P "));
  for (int block = 1; block <= 32; ++block) {
    ASSERT_EQ(small.ack().size(), 68);
    ASSERT_EQ(small.ack(), ProgrammerFrame(block < 32 ? "P " : "FV"));
  }
  EXPECT_TRUE(small.ack().isEmpty()) << "the read ended at the failure";
}

TEST(FirmwareLock, TheResultSaysWhetherTheLockedChipReadsBlank) {
  FirmwareHarness h;
  h.chip().write(Store::Code, 0, Pattern(32));
  // LB1 stops programming only: the code still reads.
  EXPECT_EQ(h.command(CmdLock, "1000"), kAck + ProgrammerFrame("PN"));
  EXPECT_EQ(h.chip().lockBits(), 0x01);
  EXPECT_EQ(h.command(CmdLock, "0100"), kAck + ProgrammerFrame("PB"));
  EXPECT_EQ(h.chip().lockBits(), 0x03);
  EXPECT_EQ(h.command(CmdLock, "0001"), kAck + ProgrammerFrame("PB"));
  EXPECT_EQ(h.chip().lockBits(), 0x03) << "the chip has three lock bits";
  EXPECT_EQ(h.command(CmdLock, "10a0"), Nak(NUL));
  EXPECT_EQ(h.command(CmdLock, "100"), Nak(NUL));

  for (const char *id : {"039", "75"}) {
    FirmwareHarness zero(QString::fromLatin1(id));
    EXPECT_EQ(zero.command(CmdLock, "1100"), kAck + ProgrammerFrame("P")) << id;
  }
}

TEST(FirmwareEmptySocket, EveryChipCommandFailsOnTheSignature) {
  FirmwareHarness h(QString{});
  EXPECT_EQ(h.command(CmdPresence), kAck + ProgrammerFrame("KVR1.04"));
  ChipModel model = *FindBuiltInChip("017");
  EXPECT_EQ(h.command(CmdSignature, FirmwareHarness::SignatureFields(model)),
            kAck + ProgrammerFrame("FS" + EncodeAll(QByteArray(3, '\xFF'))));
  for (const char letter : {CmdBlankCheck, CmdEraseWithSignature, CmdErase12V, CmdErase5V})
    EXPECT_EQ(h.command(letter), kAck + ProgrammerFrame("FS")) << letter;
  EXPECT_EQ(h.command(CmdLock, "1100"), kAck + ProgrammerFrame("FS"));
  EXPECT_EQ(h.command(CmdRead, "08192"), kAck + ProgrammerFrame("FS"));
  EXPECT_TRUE(h.ack().isEmpty());
  h.command(CmdWrite, "08192");
  EXPECT_EQ(h.block(Pattern(32), true), kAck + ProgrammerFrame("FS0000000032"));
  EXPECT_EQ(h.command(CmdSpecial, "26S00000"), kAck + ProgrammerFrame("FS"));
}

} // namespace
