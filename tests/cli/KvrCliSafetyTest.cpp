// kvr-cli against kvr-sim: it never sends what the window would not, nothing
// is left half done by a question it could have seen coming, and every
// exchange is closed on the line before it waits for the operator.
#include "CliRig.h"
#include "LineTap.h"

#include <gtest/gtest.h>

using namespace kvr::test;

namespace {

constexpr int kUsageError = 2, kInterrupted = 130;
const QByteArray kClosingAck("\x06\x0d", 2);

QStringList On(const QString &port, const QString &device) {
  return {"--port", port, "--device", device, "--timeout", "2"};
}

class KvrCliSafety : public CliRig {};

TEST_F(KvrCliSafety, RefusesSpecialCommandsTheWindowDoesNotOfferBeforeSendingAnything) {
  WriteFile("a4k.bin", CodePattern(4096));
  LineTap tap(StartSim("017")); // AT89S8252: the data EEPROM only
  const QList<QStringList> refused{{"special", "23", "W", File("a4k.bin")},
                                   {"special", "14", "S"},
                                   {"special", "20", "R"},
                                   {"special", "50", "R", File("up.bin")}};
  for (const QStringList &command : refused) {
    const Result run = CliLive(On(tap.pcPath(), "017") << "--yes" << command);
    EXPECT_EQ(run.status, kUsageError) << command.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains("it offers 08 R, 09 W.")) << run.err.toStdString();
  }
  EXPECT_EQ(tap.fromPc().size(), 0);
}

// Without --yes, a question auto will meet ends the run before the chip is
// touched, not between its write and its lock.
TEST_F(KvrCliSafety, AQuestionAutoWillMeetIsRefusedBeforeAnythingIsSent) {
  WriteFile("prog.bin", CodePattern(64, 9));
  WriteFile("big.bin", CodePattern(8192 + 2, 9));
  const struct {
    const char *chip;
    int size;
    const char *file;
    const char *question;
  } cases[] = {
      {"75", 65536, "prog.bin", "Have you entered the Serial no. & length?"}, // the lock warning
      {"017", 8192, "big.bin", "is more than the size of the selected MCU's memory."},
  };
  for (const auto &c : cases) {
    SeedCode(c.chip, CodePattern(c.size));
    LineTap tap(StartSim(c.chip));
    const Result run = CliLive(On(tap.pcPath(), c.chip) << "auto" << File(c.file));
    EXPECT_EQ(run.status, kUsageError) << c.chip;
    EXPECT_TRUE(run.err.contains(c.question) && run.err.contains("--yes")) << run.err.toStdString();
    EXPECT_EQ(tap.fromPc().size(), 0) << c.chip;
    StopSim();
    EXPECT_TRUE(SavedStore("Code") == CodePattern(c.size)) << c.chip << ": the chip was written";
  }
}

TEST_F(KvrCliSafety, AutoClosesTheLockOnTheLineBeforeWaitingForTheNextChip) {
  WriteFile("prog.bin", CodePattern(64));
  LineTap tap(StartSim("006"));
  // Ctrl-C at the Enter prompt ends the run at once.
  const Result run = CliLive(On(tap.pcPath(), "006") << "auto"
                                                     << "--count"
                                                     << "2" << File("prog.bin"),
                             [](const QString &err) { return err.contains("seat chip 2"); });
  EXPECT_EQ(run.status, kInterrupted) << run.err.toStdString();
  const QByteArray sent = tap.fromPc();
  const QByteArray lock = sent.mid(sent.lastIndexOf(QByteArray("\x05L")));
  EXPECT_EQ(lock.count(kClosingAck), 1) << lock.toHex().toStdString();
  EXPECT_TRUE(lock.endsWith(kClosingAck)) << lock.toHex().toStdString();
}

// An 8051 compiler's .ihx, or Intel HEX under any name, is read as HEX and
// never programmed as the text it is; --binary takes the file as bytes.
TEST_F(KvrCliSafety, ReadsIntelHexByNameOrContents) {
  const QByteArray hex = HexRecord(0x0010, "\x11\x22") + kHexEnd;
  const QByteArray image = QByteArray(16, '\0') + "\x11\x22";
  const QByteArray colonBytes = ":binary, not a record\n";
  const struct {
    const char *file;
    QByteArray contents;
    bool binary;
    QByteArray saved;
  } cases[] = {
      {"blink.IHX", hex, false, image},
      {"blink.bin", hex, false, image},
      {"blink.ihex", hex, true, hex},
      {"data.bin", colonBytes, false, colonBytes},
  };
  for (const auto &c : cases) {
    WriteFile(c.file, c.contents);
    const QString out = QString(c.file) + ".out";
    QStringList command{"convert", File(c.file), File(out)};
    if (c.binary)
      command << "--binary";
    const Result run = Cli(command);
    EXPECT_EQ(run.status, 0) << c.file << run.err.toStdString();
    EXPECT_EQ(ReadFile(out), c.saved) << c.file << (c.binary ? " --binary" : "");
  }
}

} // namespace
