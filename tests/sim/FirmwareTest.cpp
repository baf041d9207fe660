// The firmware's answers that the operations never meet: damaged frames,
// signatures that do not fit, chips that refuse, numbers a chip lacks and
// transfers past the end; and the fault plan: its text, and the faults whose
// effect on the line no operation test looks at closely. What the operations
// drive is checked there.
#include "Firmware.h"
#include "BaseModule.h"
#include "ChipSource.h"
#include "CommandSet.h"
#include "Frame.h"
#include "PacedChannel.h"
#include "ScriptedPeer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace kvr;
using namespace kvr::BaseModule;
using namespace kvr::sim;
using kvr::test::ProgrammerFrame;

namespace {

const QByteArray kAck("\x06\x0d", 2);
QByteArray Nak(char code) { return QByteArray(1, NAK) + code + '\r'; }

QByteArray Pattern(int size, int seed = 0) {
  QByteArray bytes(size, 0);
  for (int i = 0; i < size; ++i)
    bytes[i] = static_cast<char>((i * 7 + seed) & 0xFF);
  return bytes;
}

QByteArray EncodeAll(const QByteArray &bytes) {
  QByteArray chars;
  for (const char b : bytes)
    chars.append(EncodeByte(static_cast<unsigned char>(b)));
  return chars;
}

// Blocks as the PC sends them: more to come, or the last.
QByteArray Block(const QByteArray &bytes, bool more) {
  return BuildFrame(EncodeAll(bytes) + (more ? QByteArray(1, ETB) : QByteArray()), false);
}

// The firmware fed byte by byte, with everything it answers collected.
class FirmwareHarness {
public:
  explicit FirmwareHarness(const QString &chipId = QStringLiteral("017")) {
    toPc.setSink([this](const QByteArray &bytes) { answered.append(bytes); });
    if (!chipId.isEmpty())
      firmware.seat(std::make_unique<SimChip>(*FindBuiltInChip(chipId)));
  }

  QByteArray send(const QByteArray &bytes) {
    answered.clear();
    for (const char c : bytes)
      firmware.feed(QByteArray(1, c));
    return answered;
  }
  QByteArray command(char letter, const QByteArray &fields = QByteArray()) {
    return send(BuildFrame(CommandPayload(letter, fields), false));
  }
  QByteArray ack() { return send(BuildFrame(QByteArray(1, ACK), true)); }
  // One 32-byte block as the PC sends it.
  QByteArray block(const QByteArray &bytes, bool more) { return send(Block(bytes, more)); }
  // The signature command's fields for a chip as the catalogue describes it.
  static QByteArray SignatureFields(const ChipModel &model, QByteArray count = QByteArray()) {
    QByteArray fields;
    for (const std::uint8_t b : model.typeBytes)
      fields.append(EncodeByte(b));
    if (count.isEmpty())
      count = QByteArray::number(model.signatureCount);
    fields.append(D5(model.codeSize)).append(count);
    for (const std::uint8_t b : model.signature)
      fields.append(EncodeByte(b));
    return fields;
  }

  SimChip &chip() { return *firmware.chip(); }

  FaultPlan plan;
  PacedChannel toPc;
  Firmware firmware{plan, toPc};
  QByteArray answered;
};

const QByteArray kIdentification = kAck + ProgrammerFrame("KVR1.04");
const QByteArray kPresence = BuildFrame(CommandPayload(CmdPresence), false);
// One special byte as a block carries it.
const QByteArray kOneByteBlock = QByteArray::fromHex("5A") + QByteArray(31, '\xFF');
const QByteArray kHeld017 = EncodeAll(QByteArray::fromHex("1E7200")); // AT89S8252

QByteArray WithBadBcc(QByteArray frame) {
  frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x10);
  return frame;
}

using Step = std::function<QByteArray(FirmwareHarness &)>;

Step Send(const QByteArray &bytes) {
  return [=](FirmwareHarness &h) { return h.send(bytes); };
}
Step Command(char letter, const QByteArray &fields = QByteArray()) {
  return [=](FirmwareHarness &h) { return h.command(letter, fields); };
}
Step Then(Step first, Step last) {
  return [=](FirmwareHarness &h) {
    first(h);
    return last(h);
  };
}
// The signature command for the seated chip, announced changed.
Step Signed(const QByteArray &count, void (*change)(ChipModel &)) {
  return [=](FirmwareHarness &h) {
    ChipModel announced = h.chip().model();
    change(announced);
    return h.command(CmdSignature, FirmwareHarness::SignatureFields(announced, count));
  };
}
// A write of that length, its blocks sent: the last block's answer.
Step Write(const QByteArray &length, int blocks) {
  return [=](FirmwareHarness &h) {
    h.command(CmdWrite, length);
    QByteArray last;
    for (int block = 0; block < blocks; ++block)
      last = h.block(Pattern(32, block), block + 1 < blocks);
    return last;
  };
}

struct Case {
  const char *name;
  const char *chip; // empty: nothing seated
  Step last;        // what the final step answers
  QByteArray expected;
  std::uint8_t lockBits = 0;
  bool leavesTheChip = false; // a refusal that must not program anything
  const char *fault = "";     // from the fault plan
};

const Case kCases[] = {
    {"BadBcc", "017", Send(WithBadBcc(kPresence)), Nak(DC2)},
    {"NoEnq", "017", Send(BuildFrame("Q", false)), Nak(ENQ)},
    {"UnknownLetter", "017", Command('X'), Nak(NUL)},
    {"BccWithoutCr", "017", Send(kPresence.left(kPresence.size() - 1) + kPresence),
     Nak(DC2) + kIdentification},
    {"NoiseBeforeAFrame", "017", Send("zz\x06" + kPresence), kIdentification},
    {"OverlongFrame", "017",
     Send(QByteArray(1, STX) + QByteArray(FrameSplitter::kMaxFrame + 9, 'A') + kPresence),
     Nak(DC2) + kIdentification},
    {"AckOutsideATransfer", "017", Send(kAck), QByteArray()},
    // Type, size and as many signature bytes as counted are compared.
    {"SignatureSizeDiffers", "017", Signed("2", [](ChipModel &m) { m.codeSize = 4096; }),
     kAck + ProgrammerFrame("FS" + kHeld017)},
    {"SignatureByteUncounted", "017", Signed("2", [](ChipModel &m) { m.signature[2] = 0x06; }),
     kAck + ProgrammerFrame("P " + kHeld017)},
    {"SignatureByteCounted", "017", Signed("3", [](ChipModel &m) { m.signature[2] = 0x06; }),
     kAck + ProgrammerFrame("FS" + kHeld017)},
    {"TypeDiffers", "017", Signed("2", [](ChipModel &m) { m.typeBytes[0] = 0x7F; }),
     kAck + ProgrammerFrame("FN" + kHeld017)},
    {"SignatureCountTooLarge", "017", Signed("9", [](ChipModel &) {}), Nak(NUL)},
    {"LetterInTheSize", "017",
     [](auto &h) {
       QByteArray fields = FirmwareHarness::SignatureFields(h.chip().model());
       fields[17] = 'x';
       return h.command(CmdSignature, fields);
     },
     Nak(NUL)},
    {"SignatureFieldsCutShort", "017",
     [](auto &h) {
       return h.command(CmdSignature, FirmwareHarness::SignatureFields(h.chip().model()).left(20));
     },
     Nak(NUL)},
    {"EraseBeforeTheSignature", "017", Command(CmdEraseWithSignature), kAck + ProgrammerFrame("FS"),
     0, true},
    {"SpoiltBlock", "017",
     Then(Command(CmdWrite, "00064"), Send(WithBadBcc(Block(Pattern(32), true)))), Nak(DC2)},
    {"ShortBlock", "017", Then(Command(CmdWrite, "00064"), Send(Block(Pattern(31), true))),
     Nak(DC2)},
    // A block whose BCC is CR must not be cut at it.
    {"BlockWithBccCr", "017",
     Then(Command(CmdWrite, "00032"),
          Send(Block(QByteArray::fromHex("E0") + QByteArray(31, '\xFF'), false))),
     kAck + ProgrammerFrame("P 0000000032")},
    {"BlockAfterTheWrite", "017", Then(Write("00032", 1), Send(Block(Pattern(32), false))),
     Nak(ENQ)},
    // The announced length ends the write even when its last block says more follow.
    {"BlockBeyondTheLength", "017",
     Then(Then(Command(CmdWrite, "00032"), Send(Block(Pattern(32), true))),
          Send(Block(Pattern(32), false))),
     Nak(ENQ)},
    {"CommandEndsTheWrite", "017",
     Then(Then(Command(CmdWrite, "00064"), Command(CmdPresence)), Send(Block(Pattern(32), false))),
     Nak(ENQ)},
    // A chip erase clears both flash blocks and the lock bits.
    {"ChipEraseClearsBlockOne", "071",
     Then(Then(Command(CmdErase12V), Command(CmdSpecial, "27S00000")), Command(CmdBlankCheck)),
     kAck + ProgrammerFrame("P ")},
    {"ChipEraseUnlocks", "017", Then(Command(CmdErase5V), Write("00032", 1)),
     kAck + ProgrammerFrame("P 0000000032"), 0x03},
    {"FailedEraseLeavesTheChip", "017", Command(CmdErase12V), kAck + ProgrammerFrame("FE"), 0,
     true, "fail=E@O1"},
    {"WriteToALockedChip", "017", Write("00064", 1), kAck + ProgrammerFrame("FE0000000032"), 0x01,
     true},
    {"WritePastTheEnd", "017", Write("08224", 257), kAck + ProgrammerFrame("FV0819208224")},
    // Five digits reach the last block of 64 KB.
    {"WriteAll64Kb", "065", Write("65536", 2048), kAck + ProgrammerFrame("P 6550465536")},
    {"ReadPastTheEnd", "08B", // 1024 bytes: 32 blocks
     [](auto &h) {
       h.command(CmdRead, "01056");
       for (int i = 0; i < 63; ++i)
         h.ack();
       return h.ack();
     },
     ProgrammerFrame("FV")},
    {"LockLeavingReading", "017", Command(CmdLock, "1000"), kAck + ProgrammerFrame("PN")},
    {"LockDigitNotABit", "017", Command(CmdLock, "10a0"), Nak(NUL)},
    {"LockDigitsTooFew", "017", Command(CmdLock, "100"), Nak(NUL)},
    {"EmptySocketSignature", "",
     [](auto &h) {
       return h.command(CmdSignature, FirmwareHarness::SignatureFields(*FindBuiltInChip("017")));
     },
     kAck + ProgrammerFrame("FS" + EncodeAll(QByteArray(3, '\xFF')))},
    {"EmptySocketErase", "", Command(CmdErase12V), kAck + ProgrammerFrame("FS")},
    {"EmptySocketWrite", "", Write("08192", 1), kAck + ProgrammerFrame("FS0000000032")},
    {"EmptySocketByteWrite", "",
     Then(Command(CmdSpecial, "43W00001"), Send(Block(QByteArray(16, '\x5A'), false))),
     kAck + ProgrammerFrame("FS")},
    {"NoDataEeprom", "039", Command(CmdSpecial, "08R02048"), Nak(NUL)},
    {"OneFlashBlock", "039", Command(CmdSpecial, "26S00000"), Nak(NUL)},
    {"NoSuchNumber", "039", Command(CmdSpecial, "99S00000"), Nak(NUL)},
    {"ReadNumberInSetMode", "039", Command(CmdSpecial, "18S08192"), Nak(NUL)},
    {"LengthTooShort", "039", Command(CmdSpecial, "18R0819"), Nak(NUL)},
    {"LetterInTheLength", "039", Command(CmdSpecial, "18R0819x"), Nak(NUL)},
    // A special byte write announced with the length 00000 takes the whole store.
    {"ByteWriteOfLengthZero", "039",
     Then(Then(Command(CmdSpecial, "43W00000"), Send(Block(kOneByteBlock, false))),
          Then(Command(CmdSpecial, "42R00001"), Send(kAck))),
     ProgrammerFrame(EncodeAll(kOneByteBlock))},
    // One byte written of three: the other two stay as they were.
    {"FirstOfThreeBytes", "039",
     Then(Then(Command(CmdSpecial, "17W00001"),
               Send(Block(QByteArray::fromHex("5A") + QByteArray(15, '\xFF'), false))),
          Then(Command(CmdSpecial, "16R00001"), Send(kAck))),
     ProgrammerFrame(EncodeAll(QByteArray::fromHex("5AFC00") + QByteArray(29, '\xFF')))},
    {"SetOnALockedChip", "071", Command(CmdSpecial, "30S00000"), kAck + ProgrammerFrame("FV"), 0x03,
     true},
    {"BlockEraseOnALockedChip", "071", Command(CmdSpecial, "28S00000"),
     kAck + ProgrammerFrame("FV"), 0x03, true},
    {"AreaWriteOnALockedChip", "071",
     Then(Command(CmdSpecial, "34W08192"), Send(Block(Pattern(32), true))),
     kAck + ProgrammerFrame("FE"), 0x03, true},
    {"ByteWriteOnALockedChip", "08B",
     Then(Command(CmdSpecial, "53W00001"), Send(Block(kOneByteBlock, false))),
     kAck + ProgrammerFrame("FV"), 0x01, true},
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }

class FirmwareEdges : public ::testing::TestWithParam<Case> {};

TEST_P(FirmwareEdges, AnswerAndWhatFollows) {
  const Case &c = GetParam();
  FirmwareHarness h(QString::fromLatin1(c.chip));
  QByteArray before;
  if (h.firmware.chip()) {
    h.chip().write(Store::Code, 0, Pattern(64, 1));
    if (h.chip().hasTwoBlocks())
      h.chip().write(Store::Block1, 0, Pattern(64, 2));
    h.chip().programLockBits(c.lockBits);
    before = h.chip().toState();
  }
  ASSERT_TRUE(h.plan.add(QString::fromLatin1(c.fault)) || !*c.fault);
  EXPECT_EQ(c.last(h), c.expected);
  if (c.leavesTheChip) {
    EXPECT_EQ(h.chip().toState(), before);
  }
  // The line serves the next command whatever came before.
  EXPECT_EQ(h.send(kPresence), kIdentification);
}

INSTANTIATE_TEST_SUITE_P(Cases, FirmwareEdges, ::testing::ValuesIn(kCases),
                         [](const auto &info) { return std::string(info.param.name); });

// Set commands change their special byte; the operations read few of them back.
TEST(FirmwareSpecial, SetCommandsChangeTheirSpecialByte) {
  const struct {
    const char *chip;
    const char *number;
    Store store;
    const char *before;
    const char *after;
  } cases[] = {
      {"071", "30", Store::ConfigBits, "00", "08"},  {"071", "37", Store::ConfigBits, "10", "18"},
      {"071", "39", Store::ConfigBits, "08", "18"},  {"071", "32", Store::DoubleClock, "FF", "00"},
      {"071", "41", Store::DoubleClock, "FF", "00"}, {"039", "15", Store::ClockMode, "FF", "00"},
      {"039", "01", Store::ClockMode, "00", "FF"},   {"72", "13", Store::ClockMode, "FF", "00"},
  };
  for (const auto &c : cases) {
    FirmwareHarness h(QString::fromLatin1(c.chip));
    h.chip().write(c.store, 0, QByteArray::fromHex(c.before));
    EXPECT_EQ(h.command(CmdSpecial, QByteArray(c.number) + "S00000"), kAck + ProgrammerFrame("P"))
        << c.chip << " " << c.number;
    EXPECT_EQ(h.chip().read(c.store, 0, 1), QByteArray::fromHex(c.after))
        << c.chip << " " << c.number;
  }
}

TEST(FaultPlanText, UnderstoodSpecsAndTheReasonForOthers) {
  for (const char *good :
       {"nak=SYN@1", "nak=dc2@W2", "nak=7F@3-7", "nak=ENQ@W1/ack4", "fail=V@W1/blk3", "fail=N@S1",
        "fail=S@R2/blk1", "drop@1/hs", "drop@R1/data2", "truncate=5@Q1", "delay=250@2",
        "stall=300@W1/ack2", "bcc@R1/data1", "unplug@W1/blk10", "noise=zz@W1/blk2", "id=KVR1.03",
        "id="}) {
    FaultPlan plan;
    QString error;
    EXPECT_TRUE(plan.add(QString::fromLatin1(good), &error)) << good << ": " << error.toStdString();
  }
  for (const char *bad : {"nak=XYZ@1",     "nak=80@1",    "nak=SYN",  "drop=3@1", "truncate@1",
                          "truncate=-1@1", "fail=SS@1",   "fail=1@1", "bcc@1/hs", "bcc@W1/ack1",
                          "nak=SYN@1/res", "fail=V@1/hs", "drop@0",   "drop@3-2", "drop@1/blk0",
                          "drop@w1",       "drop@1/tail", "frob@1",   "noise=@1", "noise@1"}) {
    FaultPlan plan;
    QString error;
    EXPECT_FALSE(plan.add(QString::fromLatin1(bad), &error)) << bad;
    EXPECT_TRUE(error.contains(QString::fromLatin1(bad))) << error.toStdString();
  }
}

TEST(FaultPlanLine, RefusalsCountAllOrOneLetterAndAreNotCarriedOut) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("nak=SYN@2"));
  ASSERT_TRUE(h.plan.add("nak=DC2@B2"));
  ASSERT_TRUE(h.plan.add("nak=ENQ@E1-2"));
  ASSERT_TRUE(h.plan.add("nak=DC2@W2/ack1")); // one block refused, then taken
  EXPECT_EQ(h.command(CmdBlankCheck), kAck + ProgrammerFrame("P "));
  EXPECT_EQ(h.command(CmdWrite, "00032"), Nak(SYN));
  EXPECT_EQ(h.block(Pattern(32), false), Nak(ENQ)) << "no write was started";
  EXPECT_EQ(h.command(CmdBlankCheck), Nak(DC2));
  EXPECT_EQ(h.command(CmdBlankCheck).left(2), kAck);
  EXPECT_EQ(h.command(CmdEraseWithSignature), Nak(ENQ));
  EXPECT_EQ(h.command(CmdEraseWithSignature), Nak(ENQ));
  EXPECT_EQ(h.command(CmdEraseWithSignature).left(2), kAck);
  EXPECT_EQ(h.command(CmdWrite, "00032"), kAck);
  EXPECT_EQ(h.block(Pattern(32), false), Nak(DC2));
  EXPECT_EQ(h.block(Pattern(32), false), kAck + ProgrammerFrame("P 0000000032"));
}

TEST(FaultPlanLine, RepliesDroppedCutShortWithAWrongBccOrAnotherIdentification) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("drop@1"));
  ASSERT_TRUE(h.plan.add("drop@2/hs"));
  ASSERT_TRUE(h.plan.add("truncate=5@3"));
  ASSERT_TRUE(h.plan.add("bcc@4"));
  const QByteArray frame = ProgrammerFrame("KVR1.04");
  EXPECT_EQ(h.command(CmdPresence), kAck);
  EXPECT_EQ(h.command(CmdPresence), frame);
  EXPECT_EQ(h.command(CmdPresence), kAck + frame.left(5));
  const QByteArray corrupted = h.command(CmdPresence).mid(2);
  EXPECT_EQ(corrupted.size(), frame.size());
  const ParsedReply parsed = ParseReply(corrupted, false);
  EXPECT_EQ(parsed.data, QByteArray("KVR1.04"));
  EXPECT_TRUE(parsed.bccRead);
  EXPECT_FALSE(parsed.bccMatches);
  EXPECT_EQ(h.command(CmdPresence), kAck + frame);

  FirmwareHarness padded;
  ASSERT_TRUE(padded.plan.add("id=KVR1.04 "));
  EXPECT_EQ(padded.command(CmdPresence), kAck + ProgrammerFrame("KVR1.04 "));
}

TEST(FaultPlanLine, ALateReplyAndTheChipsOperationTimeHoldBackWhatFollows) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("delay=60@1/hs"));
  h.firmware.setOperationTime(std::chrono::milliseconds(40));
  QElapsedTimer clock;
  clock.start();
  EXPECT_TRUE(h.command(CmdErase5V).isEmpty());
  const QByteArray whole = kAck + ProgrammerFrame("P ");
  while (h.answered.size() < whole.size() && clock.elapsed() < 2000) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    if (h.answered == kAck) {
      EXPECT_GE(clock.elapsed(), 60);
    }
  }
  EXPECT_GE(clock.elapsed(), 100);
  EXPECT_EQ(h.answered, whole);
}

} // namespace
