// kvr-cli as a script runs it, against kvr-sim on a pseudo-terminal: the exit
// status of each outcome with its reason on stderr, what goes to stdout,
// Ctrl-C, and what never reaches the line.
#include "Checksum.h"
#include "CliRig.h"
#include "LineTap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace kvr;
using namespace kvr::test;

namespace {

class KvrCli : public CliRig {};

// One run each, on a fresh kvr-sim with its chip and faults, on the kvr-sim of
// the run before, or on no programmer at all: a usage error is found before
// any port is opened.
TEST_F(KvrCli, EndsEachRunWithTheStatusOfItsOutcomeSaysWhyAndPrintsItsResult) {
  const QByteArray hex = ":020000000102FB\n" + kHexEnd;
  WriteFile("prog.hex", hex);
  // Two records with a gap between them: the gap is written as 00h.
  WriteFile("prog.HEX", ":03000000010203F7\n:02004000AABB59\n" + kHexEnd);
  const QByteArray image = QByteArray("\x01\x02\x03", 3) + QByteArray(0x3D, '\0') + "\xAA\xBB";
  const QByteArray chip = image + QByteArray(8192 - image.size(), '\xFF');
  const QByteArray eeprom = CodePattern(2048, 5);
  WriteFile("eeprom.bin", eeprom);
  WriteFile("p64.bin", CodePattern(64));
  WriteFile("p100.bin", CodePattern(100));
  // An 8051 compiler's .ihx, or Intel HEX under any name, is read as HEX and
  // never programmed as the text it is; --binary takes the file as bytes.
  const QByteArray blink = ":020010001122BB\n" + kHexEnd;
  const QByteArray colonBytes = ":binary, not a record\n";
  WriteFile("blink.bin", blink);
  WriteFile("blink.ihex", blink);
  WriteFile("data.bin", colonBytes);
  const auto sum = [](const QByteArray &bytes) { return ChecksumText(ChecksumOf(bytes)) + "\n"; };
  WriteFile("damaged.hex", ":020000000102FB\n:0200100001FF00\n" + kHexEnd);
  WriteFile("a4k.bin", CodePattern(4096));
  WriteFile("text.hex", "not a hex file at all\n");
  WriteFile("big.bin", CodePattern(8192 + 2));
  WriteFile("old.bin", "old");
  ASSERT_EQ(::mkfifo(File("fifo").toLocal8Bit().constData(), 0600), 0);
  const struct {
    const char *programmer; // kvr-sim's chip and options; empty: none; "=": the last
    const char *command;
    int status;
    const char *text;        // on stderr; with --quiet, all of stderr
    QString out = QString(); // all of stdout, unless null
    const char *input = "";
  } runs[] = {
      {"", "", kUsageError, "kvr-cli: no command given."},
      {"", "frobnicate", kUsageError, "kvr-cli: unknown command \"frobnicate\"."},
      {"", "--bogus detect", kUsageError, "kvr-cli: Unknown option 'bogus'."},
      {"", "detect extra", kUsageError, "kvr-cli: usage: kvr-cli [options] detect"},
      {"", "read", kUsageError, "kvr-cli: usage: kvr-cli [options] read FILE"},
      {"", "read --5v @out.bin", kUsageError, "kvr-cli: --5v does not go with read."},
      {"", "write --count 2 @prog.bin", kUsageError, "--count does not go with write."},
      {"", "auto --count 0 @prog.bin", kUsageError, "--count takes a number of chips, 1 or more."},
      {"", "erase --5v --12v", kUsageError, "--5v and --12v exclude each other."},
      {"", "--verbose --quiet detect", kUsageError, "--quiet and --verbose exclude each other."},
      {"", "--timeout 0 detect", kUsageError, "--timeout takes seconds, more than 0 and up to"},
      {"", "--port COM17 detect", kUsageError, "--port takes COM1 to COM16, or a device path."},
      {"", "--port @a --port @b detect", kUsageError, "several --port go with auto only."},
      {"", "auto @prog.hex --log=", kUsageError, "--log takes a file name."},
      {"", "--data-dir @nowhere devices", kUsageError, "Cannot find the MCU DataBase file"},
      {"", "--device 999 signature", kUsageError, "the catalogue has no device 999"},
      {"", "--device= signature", kUsageError, "no device chosen: name one with --device ID"},
      {"", "signature", kLinkFailure, "There is no device @no-port"},
      {"", "lock 1,x", kUsageError, "lock takes lock bit numbers from 1 to 4, such as 1,2."},
      // A bit the device does not offer, alone or with others: the same answer.
      {"", "--device 006 lock 1,3", kUsageError,
       "lock bit 3 cannot be programmed on the ATMEL AT89C2051; it offers lock bits 1, 2."},
      {"", "--device 006 lock 4", kUsageError, "lock bit 4 cannot be programmed on the ATMEL"},
      {"", "special 09 W", kUsageError, "special 09 W takes a FILE."},
      {"", "special 1x R", kUsageError, "special takes a number such as 16 and a mode S, R or W."},
      // Only what the window offers the device, refused before anything is sent.
      {"", "special 16 R", kUsageError,
       "special is not available for the ATMEL AT89S8252 as 16 R; it offers 08 R, 09 W."},
      {"", "--yes special 23 W @a4k.bin", kUsageError, "it offers 08 R, 09 W."},
      {"", "--yes special 14 S", kUsageError, "it offers 08 R, 09 W."},
      {"", "--yes special 20 R", kUsageError, "it offers 08 R, 09 W."},
      {"", "--yes special 50 R @up.bin", kUsageError, "it offers 08 R, 09 W."},
      {"", "--device 039 special 16 R 0G", kUsageError, "Not a Valid Hexadecimal Number"},
      // --yes does not load a damaged file.
      {"", "--yes write @damaged.hex", kUsageError, "The selected file is damaged at line 2."},
      {"", "--yes verify @text.hex", kUsageError, "The selected file is not in HEX Format."},
      {"", "--yes auto @absent.bin", kUsageError, "File not found."},
      // Questions the command will meet are asked before the port: not
      // between an auto's write and its lock.
      {"", "write @big.bin", kUsageError, "is more than the size of the selected MCU's memory."},
      {"", "auto @big.bin", kUsageError, "is more than the size of the selected MCU's memory."},
      {"", "--device 75 erase", kUsageError, "ChipErase will Erase Block#1 also."},
      {"", "--device 75 auto @prog.hex", kUsageError, "Have you entered the Serial no. & length?"},
      {"", "--port @a --port @b auto @prog.hex --log @no/such/line.jsonl", kUsageError,
       "The production log @no/such/line.jsonl cannot be written"},
      // What the window would ask about, or never do, before a file is written.
      {"", "read @no/such/chip.bin", kUsageError, "cannot be written: no such folder"},
      {"", "convert @prog.hex @no/such/x.bin", kUsageError, "cannot be written: no such folder"},
      {"", "convert @prog.hex @prog.hex", kUsageError, "is the file read"},
      {"", "convert @prog.hex @old.bin", kUsageError, "already exists"},
      {"", "read @old.bin", kUsageError, "already exists"},
      {"", "--yes convert @prog.hex @fifo", kUsageError, "is not a regular file"},
      {"", "--yes convert @prog.hex @old.bin", kSuccess, "Yes (--yes)"},
      {"", "devices s8252", kSuccess, "",
       "ID   Brand  Model      KB  Lock bits  Family\n"
       "017  ATMEL  AT89S8252  8   3          ATMEL89S\n"},
      {"", "checksum @prog.HEX", kSuccess, "", sum(image)},
      {"", "convert @blink.bin @blink.bin.out", kSuccess, ""},
      {"", "convert @blink.ihex @blink.ihex.out --binary", kSuccess, ""},
      {"", "convert @data.bin @data.bin.out", kSuccess, ""},
      {"", "--timeout 5 demo", kSuccess, "File written successfully to ATMEL  AT89S8252",
       "Demo passed: 1024 bytes written to ATMEL AT89S8252 on the simulator, read back and "
       "compared.\n"},
      {"017 --fault id=KVR1.03", "detect", kLinkFailure, "Incorrect model!"},
      // A device command does nothing further on a wrong chip, and a script
      // is not asked to retry.
      {"017", "--device 013 erase", kDeviceFailure, "Signature verification failed."},
      // Erase without signature check where the window offers it.
      {"017", "--device 013 erase --12v", kSuccess, "MCU successfully Erased."},
      {"017", "erase", kSuccess, "MCU successfully Erased."},
      {"017", "erase --5v", kSuccess, "MCU successfully Erased."},
      {"017", "--yes write @big.bin", kSuccess, "Number of bytes written : 8192"},
      {"0E1", "lock 1", kUsageError, "lock is not available for the"},
      {"039", "special 16 R 00", kUsageError, "takes 3 byte(s) here, not 1"},
      {"006", "auto --count 2 @prog.hex", kUsageError, "the input ended before chip 2."},
      // The programmer's verdict ends with 1, a failed link with 3.
      {"017 --fault fail=V@B1", "blank-check", kDeviceFailure, "MCU is not Blank."},
      {"017 --fault fail=V@L1", "lock 1", kDeviceFailure,
       "Lock failed due to failure of Lock Verification."},
      {"017 --fault nak=NUL@E1-5", "erase", kLinkFailure, "Error at Slave : Unknown Command."},
      {"017 --fault drop@B1", "blank-check", kLinkFailure,
       "The requested operation has timed out."},
      {"017 --fault fail=V@R1/blk3", "read @x.bin", kDeviceFailure,
       "Read failed due to failure of Verification."},
      {"017 --fault unplug@R1/blk2", "read @x.bin", kLinkFailure,
       "The connection to the programmer on COM1 was lost."},
      // Where the window shows nothing (a refusal code it has no text for, a
      // reason after "F" it does not know), kvr-cli still says why.
      {"017", "--quiet blank-check", kSuccess, ""},
      {"017 --fault nak=41@B1-5", "--quiet blank-check", kLinkFailure,
       "kvr-cli: Blank Check Failed: the programmer refused the command on every attempt "
       "(<15h>A).\n"},
      {"017 --fault fail=X@B1", "--quiet blank-check", kDeviceFailure,
       "kvr-cli: Blank Check Failed: the programmer reported a failure (FX).\n"},
      // On a slow line the end of a reply read short (the signature result: 9
      // of its 12 characters) comes after the characters read; the write that
      // follows at once must not take it for its own answer.
      {"017 --line-rate 1200", "write @p64.bin", kSuccess, "Number of bytes written : 64"},
      // The simulator keeps its one chip: locked by the first Auto, it refuses
      // the second write.
      {"006", "auto --count 2 @p64.bin", kDeviceFailure,
       "MCU Erased, file successfully Written, Lock passed and Blank Check verified.",
       "Chip 1: passed\nChip 2: failed (Write Failed)\n", "\n"},
      // P89C669: status byte and two boot vectors, each unlike the chip's own,
      // so that every box must be typed. Reading them again writes nothing
      // back: a fourth special command would fail.
      {"039 --fault fail=V@P4/blk1", "special 16 R 5A,3C,01", kSuccess, ""},
      {"=", "special 16 R", kSuccess, "", "Status Byte: 5A\nBoot Vector1: 3C\nBoot Vector2: 01\n"},
      // AT89S8252: 2 KB data EEPROM, "09" writes, "08" reads.
      {"017", "special 09 W @eeprom.bin", kSuccess, ""},
      {"=", "special 8 r @back.bin", kSuccess, ""},
      // read prints what the saved file holds, verify the chip's, not the file's.
      {"=", "write @prog.HEX", kSuccess,
       "File written successfully to ATMEL  AT89S8252 Number of bytes written : 96"},
      {"=", "read @chip.bin", kSuccess, "End of Read. Total  8192 bytes read.", sum(chip)},
      {"=", "verify @prog.HEX", kSuccess, "",
       "Verify passed: the 66 bytes of @prog.HEX match the chip.\n" + sum(chip)},
      // A binary file is taken byte for byte, whatever it holds.
      {"=", "write @p100.bin", kSuccess, "Number of bytes written : 128"},
      {"=", "verify @prog.HEX", kDeviceFailure, "",
       "Verify failed: 66 of the 66 bytes of @prog.HEX differ from the chip, the first at 0000H "
       "(file 01H, chip 03H).\n" +
           sum(CodePattern(100) + QByteArray(8192 - 100, '\xFF'))},
      {"=", "lock 1,2", kSuccess, "Lock Passed."},
  };
  for (const auto &run : runs) {
    const QStringList programmer = QString(run.programmer).split(' ', Qt::SkipEmptyParts);
    if (programmer.value(0) != "=") {
      TearDown();
      ASSERT_TRUE(programmer.isEmpty() || !StartSim(programmer[0], programmer.mid(1)).isEmpty());
    }
    const Result result = Expect(run.command, run.status, run.text, run.input);
    EXPECT_TRUE(!QString(run.command).startsWith("--quiet") || result.err == run.text)
        << run.command << ": --quiet shows the failures only, not " << result.err.toStdString();
    EXPECT_TRUE(run.out.isNull() ||
                result.out == QString(run.out).replace(" @", ' ' + files.path() + '/'))
        << run.command << ": " << result.out.toStdString();
    EXPECT_FALSE(QFile::exists(File("x.bin"))) << run.command << ": a failed read saved a file";
  }
  StopSim();
  EXPECT_EQ(SavedStore("Code").left(128), CodePattern(100) + QByteArray(28, '\xFF'));
  EXPECT_EQ(SavedLockBits(), 3);
  EXPECT_EQ(SavedStore("Eeprom"), eeprom);
  EXPECT_EQ(ReadFile("back.bin"), eeprom);
  EXPECT_EQ(ReadFile("chip.bin"), chip);
  EXPECT_EQ(ReadFile("blink.bin.out"), QByteArray(16, '\0') + "\x11\x22");
  EXPECT_EQ(ReadFile("blink.ihex.out"), blink);
  EXPECT_EQ(ReadFile("data.bin.out"), colonBytes);
  EXPECT_EQ(ReadFile("prog.hex"), hex);
  EXPECT_FALSE(QFileInfo(File("fifo")).isFile());
  EXPECT_EQ(ReadFile("old.bin"), QByteArray("\x01\x02", 2) + QByteArray(14, 0)) << "replaced";
  EXPECT_EQ(Cli({"devices", "24cxx"}).out.count("EEPROM24Cxx"), 10);
  // --help is output asked for: stdout, status 0, the commands and the statuses.
  const Result help = Cli({"--help"});
  EXPECT_EQ(help.status, kSuccess);
  EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();
  EXPECT_TRUE(help.out.contains("\nCommands:\n") && help.out.contains("\nExit status:\n"))
      << help.out.toStdString();
}

// A port by its path; else the window's saved port and device; else
// autodetect over COM1..COM16 in turn.
TEST_F(KvrCli, FindsTheProgrammerWhereTheWindowWould) {
  StartSim("017");
  EXPECT_EQ(Expect("detect", kSuccess,
                   "Hardware detected on COM1! Welcome to TORVANE Flash MCU Programmer Version "
                   ": KVR1.04")
                .out,
            QString("COM1 %1\n").arg(port));
  for (int n = 1; n <= 16; ++n)
    Save("Ports", QString("COM%1").arg(n), n == 2 || n == 3 ? port : File(QString("no%1").arg(n)));
  const Result found = Cli({"--timeout", "2", "detect"});
  EXPECT_EQ(found.out, QString("COM2 %1\n").arg(port)) << found.err.toStdString();
  Save("StartUp", "LastCOMPort", "3");
  Save("StartUp", "LastMCU", "017");
  const Result saved = Cli({"--timeout", "2", "signature"});
  EXPECT_EQ(saved.status, kSuccess) << saved.err.toStdString();
  EXPECT_TRUE(saved.err.contains("Hardware detected on COM3!")) << saved.err.toStdString();
  EXPECT_TRUE(saved.err.contains("Signature verification passed. Signature Bytes :   1E  72"));
}

// A disk that takes no more than 1 KB: no save may claim success or cost
// the old file, whether the image fits the writer's buffer or not, and the
// user learns the system's reason.
TEST_F(KvrCli, AFullDiskKeepsTheOldFileAndSaysWhy) {
  const auto fullAfter1K = [] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{1024, 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  };
  WriteFile("small.bin", CodePattern(3231));
  StartSim("017");
  for (const char *save : {"--yes convert @small.bin @old.bin", "--yes read @old.bin"}) {
    WriteFile("old.bin", "the old file");
    const Result run = Cli(Args(save), {}, fullAfter1K);
    EXPECT_NE(run.status, kSuccess) << save;
    EXPECT_TRUE(run.err.contains("could not be saved: File too large.")) << run.err.toStdString();
    EXPECT_TRUE(ReadFile("old.bin") == "the old file") << "the old file is lost";
  }
  EXPECT_EQ(QDir(files.path()).entryList(QDir::Files).size(), 2) << "nothing left behind";
}

TEST_F(KvrCli, AutoClosesTheLockOnTheLineBeforeWaitingForTheNextChip) {
  WriteFile("prog.bin", CodePattern(64));
  LineTap tap(StartSim("006"));
  port = tap.pcPath();
  // Ctrl-C at the Enter prompt ends the run at once.
  const Result run = CliLive(Args("auto --count 2 @prog.bin"),
                             [](const QString &err) { return err.contains("seat chip 2"); });
  EXPECT_EQ(run.status, kInterrupted) << run.err.toStdString();
  const QByteArray sent = tap.fromPc();
  const QByteArray lock = sent.mid(sent.lastIndexOf(QByteArray("\x05L")));
  EXPECT_EQ(lock.count(kClosingAck), 1) << lock.toHex().toStdString();
  EXPECT_TRUE(lock.endsWith(kClosingAck)) << lock.toHex().toStdString();
}

} // namespace
