// The special commands: flash blocks, special areas, special bytes and the
// set commands, by family.
#include "FirmwareHarness.h"

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;
using namespace kvr::sim;
using namespace kvr::sim::test;

namespace {

QByteArray Padded(const QByteArray &bytes) {
  return bytes + QByteArray(kBlockSize - bytes.size(), '\xFF');
}

TEST(FirmwareSpecial, TheSelectedBlockIsWhatWriteReadBlankCheckAndBlockEraseReach) {
  FirmwareHarness h(QStringLiteral("071"));
  h.chip().write(Store::Code, 0, "\x55");
  h.command(CmdSpecial, "27S00000");
  h.command(CmdWrite, "00032");
  EXPECT_EQ(h.block(Pattern(32), false), kAck + ProgrammerFrame("P 0000000032"));
  EXPECT_EQ(h.chip().read(Store::Block1, 0, 32), Pattern(32));
  EXPECT_EQ(h.chip().read(Store::Code, 0, 1), "\x55") << "block 0 untouched";
  h.command(CmdRead, "00032");
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(Pattern(32))));
  EXPECT_EQ(h.command(CmdBlankCheck), kAck + ProgrammerFrame("FV"));

  EXPECT_EQ(h.command(CmdSpecial, "28S00000"), kAck + ProgrammerFrame("P"));
  EXPECT_TRUE(h.chip().readsBlank(Store::Block1));
  EXPECT_FALSE(h.chip().readsBlank(Store::Code));

  h.command(CmdSpecial, "26S00000");
  h.chip().write(Store::Block1, 9, "\x66");
  EXPECT_EQ(h.command(CmdSpecial, "35S00000"), kAck + ProgrammerFrame("P"));
  EXPECT_TRUE(h.chip().readsBlank(Store::Block1));
  EXPECT_EQ(h.command(CmdBlankCheck), kAck + ProgrammerFrame("FV")) << "block 0 again";
}

TEST(FirmwareSpecial, AreasAreErasedThenWrittenInBlocksAndReadBack) {
  FirmwareHarness h(QStringLiteral("017"));
  h.chip().write(Store::Eeprom, 2047, "\x01");
  const QByteArray image = Pattern(2048, 5);
  EXPECT_EQ(h.command(CmdSpecial, "09W02048"), kAck);
  for (int block = 0; block < 64; ++block) {
    const QByteArray reply = h.block(image.mid(block * 32, 32), block < 63);
    ASSERT_EQ(reply, kAck + ProgrammerFrame("P")) << block;
    EXPECT_TRUE(h.ack().isEmpty());
  }
  EXPECT_EQ(h.chip().read(Store::Eeprom, 0, 2048), image);
  EXPECT_TRUE(h.chip().readsBlank(Store::Code));

  EXPECT_EQ(h.command(CmdSpecial, "08R02048"), kAck + ProgrammerFrame("P "));
  for (int block = 0; block < 64; ++block) {
    ASSERT_EQ(h.ack(), ProgrammerFrame(EncodeAll(image.mid(block * 32, 32)), block < 63));
    if (block < 63) {
      ASSERT_EQ(h.ack(), ProgrammerFrame("P "));
    }
  }
  EXPECT_TRUE(h.ack().isEmpty());
}

TEST(FirmwareSpecial, SpecialBytesAreReadInOneFrameAndWrittenFromOneBlock) {
  FirmwareHarness h(QStringLiteral("039"));
  EXPECT_EQ(h.command(CmdSpecial, "16R00003"), kAck + ProgrammerFrame("P "));
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(Padded(QByteArray::fromHex("00FC00")))));
  EXPECT_TRUE(h.ack().isEmpty());

  EXPECT_EQ(h.command(CmdSpecial, "17W00003"), kAck);
  EXPECT_EQ(h.block(Padded(QByteArray::fromHex("123456")), false), kAck + ProgrammerFrame("P"));
  EXPECT_EQ(h.chip().read(Store::StatusBoot, 0, 3), QByteArray::fromHex("123456"));
  // Two bytes written leave the second boot vector as it was.
  h.command(CmdSpecial, "03W00002");
  h.block(Padded(QByteArray::fromHex("AABB")), false);
  EXPECT_EQ(h.chip().read(Store::StatusBoot, 0, 3), QByteArray::fromHex("AABB56"));
  // The I2C address is written with the length 00000: the firmware takes its one byte.
  h.command(CmdSpecial, "43W00000");
  h.block(Padded(QByteArray::fromHex("5A")), false);
  EXPECT_EQ(h.chip().read(Store::I2cAddress, 0, 1), QByteArray::fromHex("5A"));
  h.command(CmdSpecial, "42R00001");
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(Padded(QByteArray::fromHex("5A")))));
}

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

TEST(FirmwareSpecial, NumbersTheChipHasNothingForAreUnknownCommands) {
  FirmwareHarness h(QStringLiteral("039"));
  EXPECT_EQ(h.command(CmdSpecial, "08R02048"), Nak(NUL)) << "no data EEPROM";
  EXPECT_EQ(h.command(CmdSpecial, "26S00000"), Nak(NUL)) << "one flash block";
  EXPECT_EQ(h.command(CmdSpecial, "99S00000"), Nak(NUL));
  EXPECT_EQ(h.command(CmdSpecial, "18S08192"), Nak(NUL)) << "a read number in set mode";
  EXPECT_EQ(h.command(CmdSpecial, "18R0819"), Nak(NUL));
  EXPECT_EQ(h.command(CmdSpecial, "18R0819x"), Nak(NUL));
  EXPECT_EQ(h.command(CmdSpecial, "18R08192"), kAck + ProgrammerFrame("P "));

  FirmwareHarness winbond(QStringLiteral("064"));
  EXPECT_EQ(winbond.command(CmdSpecial, "06R04096"), kAck + ProgrammerFrame("P "));
}

TEST(FirmwareSpecial, ALockedChipRefusesToProgramButStillSelectsAndReads) {
  FirmwareHarness h(QStringLiteral("071"));
  h.chip().programLockBits(0x03);
  EXPECT_EQ(h.command(CmdSpecial, "30S00000"), kAck + ProgrammerFrame("FV"));
  EXPECT_EQ(h.command(CmdSpecial, "28S00000"), kAck + ProgrammerFrame("FV"));
  EXPECT_EQ(h.command(CmdSpecial, "27S00000"), kAck + ProgrammerFrame("P"));
  h.command(CmdSpecial, "34W08192");
  EXPECT_EQ(h.block(Pattern(32), true), kAck + ProgrammerFrame("FE"));
  h.command(CmdSpecial, "29R00000");
  EXPECT_EQ(h.ack(), ProgrammerFrame(EncodeAll(Padded(QByteArray(1, 0)))));

  FirmwareHarness lpc(QStringLiteral("08B"));
  lpc.chip().programLockBits(0x01);
  lpc.command(CmdSpecial, "53W00001");
  EXPECT_EQ(lpc.block(Padded("\x5A"), false), kAck + ProgrammerFrame("FV"));
  EXPECT_EQ(lpc.chip().read(Store::Ucfg1, 0, 1), QByteArray::fromHex("FF"));
}

} // namespace
