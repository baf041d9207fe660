// kvr-cli as a script runs it, against kvr-sim on a pseudo-terminal: each
// command, and each exit status with the window's texts on stderr.
#include "CliRig.h"
#include "LineTap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPort>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace kvr::test;

namespace {

constexpr int kSuccess = 0, kDeviceFailure = 1, kUsageError = 2, kLinkFailure = 3,
              kInterrupted = 130;
const QByteArray kClosingAck("\x06\x0d", 2);

// The options every run on the simulator takes: its port, a short time-out.
QStringList On(const QString &port, const QString &device = QStringLiteral("017")) {
  return {"--port", port, "--device", device, "--timeout", "2"};
}

class KvrCli : public CliRig {};

TEST_F(KvrCli, HelpNamesEveryCommandAndExitStatus) {
  const Result help = Cli({"--help"});
  EXPECT_EQ(help.status, kSuccess);
  for (const char *command :
       {"devices", "detect", "signature", "blank-check", "erase", "lock", "read", "demo", "--port",
        "--device", "--data-dir", "--yes", "--timeout", "130"})
    EXPECT_TRUE(help.out.contains(QLatin1String(command))) << command;
}

TEST_F(KvrCli, RefusesABadCommandLineWithTwoBeforeAnyPortIsTouched) {
  const QList<QStringList> refused{
      {},
      {"frobnicate"},
      {"--bogus", "detect"},
      {"detect", "extra"},
      {"lock"},
      {"read"},
      {"read", "--5v", "out.bin"},
      {"write", "--count", "2", "prog.bin"},
      {"auto", "--count", "0", "prog.bin"},
      {"convert", "in.hex"},
      {"erase", "--5v", "--12v"},
      {"--timeout", "0", "detect"},
      {"--quiet", "--verbose", "detect"},
      {"--port", "COM17", "detect"},
      {"--port", "/nonexistent/tty", "--device", "017", "lock", "1,x"},
  };
  for (const QStringList &arguments : refused) {
    const Result run = Cli(arguments);
    EXPECT_EQ(run.status, kUsageError) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.startsWith("kvr-cli: ")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("There is no device")) << "the port was opened";
  }
}

TEST_F(KvrCli, ListsTheCatalogueFilteredByText) {
  const Result one = Cli({"devices", "s8252"});
  EXPECT_EQ(one.status, kSuccess) << one.err.toStdString();
  const QStringList lines = one.out.split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2) << one.out.toStdString();
  EXPECT_EQ(lines[1].simplified(), "017 ATMEL AT89S8252 8 3 ATMEL89S");

  const Result eeproms = Cli({"devices", "24cxx"});
  EXPECT_EQ(eeproms.out.count("EEPROM24Cxx"), 10);
  const Result all = Cli({"devices"});
  EXPECT_GT(all.out.count('\n'), eeproms.out.count('\n') + 50);
}

TEST_F(KvrCli, WithoutItsCatalogueEndsWithTwo) {
  const Result run = Cli({"--data-dir", File("nothing-here"), "devices"});
  EXPECT_EQ(run.status, kUsageError);
  EXPECT_TRUE(run.err.contains("Cannot find the MCU DataBase file")) << run.err.toStdString();
}

TEST_F(KvrCli, DetectsTheProgrammerOnAPathAndByAutodetect) {
  const QString port = StartSim("017");
  ASSERT_FALSE(port.isEmpty());
  const Result named = Cli({"--port", port, "detect"});
  EXPECT_EQ(named.status, kSuccess) << named.err.toStdString();
  EXPECT_EQ(named.out, QString("COM1 %1\n").arg(port));
  EXPECT_TRUE(named.err.contains("Hardware detected on COM1! Welcome to TORVANE Flash MCU "
                                 "Programmer Version : KVR1.04"))
      << named.err.toStdString();

  // Nothing saved: COM1..COM16 in turn, all but COM3 missing.
  for (int n = 1; n <= 16; ++n)
    Save("Ports", QString("COM%1").arg(n), n == 3 ? port : File(QString("absent%1").arg(n)));
  const Result found = Cli({"--timeout", "2", "detect"});
  EXPECT_EQ(found.status, kSuccess) << found.err.toStdString();
  EXPECT_EQ(found.out, QString("COM3 %1\n").arg(port));
}

TEST_F(KvrCli, TakesTheWindowsSavedPortAndDevice) {
  const QString port = StartSim("017");
  Save("Ports", "COM2", port);
  Save("StartUp", "LastCOMPort", "2");
  Save("StartUp", "LastMCU", "017");
  const Result run = Cli({"--timeout", "2", "signature"});
  EXPECT_EQ(run.status, kSuccess) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains("Hardware detected on COM2!"));
  EXPECT_TRUE(run.err.contains("Signature verification passed. Signature Bytes :   1E  72"))
      << run.err.toStdString();
}

TEST_F(KvrCli, EndsWithThreeWithoutAWorkingProgrammer) {
  const Result missing = Cli(On(File("absent")) << "signature");
  EXPECT_EQ(missing.status, kLinkFailure);
  EXPECT_TRUE(missing.err.contains("There is no device " + File("absent")))
      << missing.err.toStdString();

  const QString port = StartSim("017", {"--fault", "id=KVR1.03"});
  const Result otherModel = Cli(On(port) << "detect");
  EXPECT_EQ(otherModel.status, kLinkFailure);
  EXPECT_TRUE(otherModel.err.contains("Incorrect model!")) << otherModel.err.toStdString();

  QSerialPort holder(port);
  ASSERT_TRUE(holder.open(QIODevice::ReadWrite));
  const Result busy = Cli(On(port) << "detect");
  EXPECT_EQ(busy.status, kLinkFailure);
  EXPECT_TRUE(busy.err.contains("The COM1 Port is already open")) << busy.err.toStdString();
}

TEST_F(KvrCli, ChecksTheSeatedChipAgainstTheDevice) {
  const QString port = StartSim("017");
  EXPECT_EQ(Cli(On(port) << "signature").status, kSuccess);

  const Result wrongChip = Cli(On(port, "013") << "signature");
  EXPECT_EQ(wrongChip.status, kDeviceFailure);
  EXPECT_TRUE(wrongChip.err.contains("Signature verification failed. Signature Bytes :   1E  72"))
      << wrongChip.err.toStdString();
  EXPECT_FALSE(wrongChip.err.contains("retry")) << "a script is not asked to retry";

  // A device command does nothing further on a wrong chip.
  EXPECT_EQ(Cli(On(port, "013") << "blank-check").status, kDeviceFailure);

  const Result unknown = Cli(On(port, "999") << "signature");
  EXPECT_EQ(unknown.status, kUsageError);
  EXPECT_TRUE(unknown.err.contains("the catalogue has no device 999"));
  const Result none = Cli({"--port", port, "signature"});
  EXPECT_EQ(none.status, kUsageError);
  EXPECT_TRUE(none.err.contains("--device"));
}

TEST_F(KvrCli, ErasesAndChecksBlank) {
  SeedCode("017", CodePattern(8192));
  const QString port = StartSim("017");
  const Result notBlank = Cli(On(port) << "blank-check");
  EXPECT_EQ(notBlank.status, kDeviceFailure);
  EXPECT_TRUE(notBlank.err.contains("MCU is not Blank.")) << notBlank.err.toStdString();

  const Result erase = Cli(On(port) << "erase");
  EXPECT_EQ(erase.status, kSuccess) << erase.err.toStdString();
  EXPECT_TRUE(erase.err.contains("MCU successfully Erased."));
  const Result blank = Cli(On(port) << "--quiet"
                                    << "blank-check");
  EXPECT_EQ(blank.status, kSuccess);
  EXPECT_EQ(blank.err, QString()) << "--quiet shows failures only";
  StopSim();
  EXPECT_EQ(SavedStore("Code"), QByteArray(8192, char(0xFF)));
}

TEST_F(KvrCli, ErasesWithoutSignatureCheckWhereTheWindowOffersIt) {
  SeedCode("017", CodePattern(8192));
  const QString port = StartSim("017");
  // A chip whose signature fails can still be erased at 12 V...
  const Result failedSignature = Cli(On(port, "013") << "erase"
                                                     << "--12v");
  EXPECT_EQ(failedSignature.status, kSuccess) << failedSignature.err.toStdString();
  EXPECT_TRUE(failedSignature.err.contains("Signature verification failed."));
  EXPECT_TRUE(failedSignature.err.contains("MCU successfully Erased."));
  // ...but not with the signature check.
  EXPECT_EQ(Cli(On(port, "013") << "erase").status, kDeviceFailure);
  // A verified ATMEL89S chip has the menu's erase without signature check.
  EXPECT_EQ(Cli(On(port) << "erase"
                         << "--5v")
                .status,
            kSuccess);
}

TEST_F(KvrCli, ProgramsTheLockBitsTheDeviceOffers) {
  const QString port = StartSim("006"); // AT89C2051: lock bits 1 and 2
  // A bit it does not offer, alone or with others: the same answer.
  for (const char *bits : {"1,3", "3", "4"}) {
    const Result refused = Cli(On(port, "006") << "lock" << bits);
    EXPECT_EQ(refused.status, kUsageError) << bits;
    EXPECT_TRUE(refused.err.contains(QString("lock bit %1 cannot be programmed on the ATMEL "
                                             "AT89C2051; it offers lock bits 1, 2.")
                                         .arg(QString(bits).right(1))))
        << refused.err.toStdString();
    EXPECT_FALSE(refused.err.contains("Hardware detected")) << "refused before the port";
  }

  const Result lock = Cli(On(port, "006") << "lock"
                                          << "1,2");
  EXPECT_EQ(lock.status, kSuccess) << lock.err.toStdString();
  EXPECT_TRUE(lock.err.contains("Lock Passed. Blank Check verified.")) << lock.err.toStdString();
  StopSim();
  EXPECT_EQ(SavedLockBits(), 3);
}

TEST_F(KvrCli, RefusesACommandTheFamilyDoesNotHave) {
  const QString port = StartSim("0E1"); // 24C02: no lock bits
  const Result lock = Cli(On(port, "0E1") << "lock"
                                          << "1");
  EXPECT_EQ(lock.status, kUsageError);
  EXPECT_TRUE(lock.err.contains("lock is not available for the")) << lock.err.toStdString();
}

TEST_F(KvrCli, ReportsTheProgrammersFailuresWithOneAndTheLinksWithThree) {
  struct Case {
    const char *fault;
    QStringList command;
    int status;
    const char *text;
  };
  const QList<Case> cases{
      {"fail=V@L1",
       {"lock", "1"},
       kDeviceFailure,
       "Lock failed due to failure of Lock Verification."},
      {"fail=S@E1",
       {"erase"},
       kDeviceFailure,
       "Erase failed due to Signature Verification failure."},
      {"nak=NUL@E1-5", {"erase"}, kLinkFailure, "Error at Slave : Unknown Command."},
      {"drop@B1", {"blank-check"}, kLinkFailure, "The requested operation has timed out."},
      {"bcc@B1", {"blank-check"}, kLinkFailure, "Error at Master : BCC Error."},
      {"fail=V@R1/blk3",
       {"read", "@x.bin"},
       kDeviceFailure,
       "Read failed due to failure of Verification."},
      {"drop@R1/data2", {"read", "@x.bin"}, kLinkFailure, "The requested operation has timed out."},
      {"unplug@R1/blk2",
       {"read", "@x.bin"},
       kLinkFailure,
       "The connection to the programmer on COM1 was lost."},
  };
  for (const Case &c : cases) {
    const QString port = StartSim("017", {"--fault", c.fault});
    QStringList command = c.command;
    command.replaceInStrings("@", files.path() + "/");
    const Result run = Cli(On(port) << command);
    EXPECT_EQ(run.status, c.status) << c.fault << "\n" << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QLatin1String(c.text))) << c.fault << "\n"
                                                         << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(File("x.bin"))) << c.fault << ": a failed read saved a file";
    TearDown();
  }
}

TEST_F(KvrCli, ReadsTheCodeMemoryIntoABinaryFile) {
  const QByteArray code = CodePattern(8192, 11);
  SeedCode("017", code);
  const QString port = StartSim("017");
  const Result read = Cli(On(port) << "read" << File("chip.bin"));
  EXPECT_EQ(read.status, kSuccess) << read.err.toStdString();
  EXPECT_TRUE(read.err.contains("End of Read. Total  8192 bytes read.")) << read.err.toStdString();
  QFile saved(File("chip.bin"));
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), code);

  const Result nowhere = Cli(On(port) << "read" << File("no/such/folder/chip.bin"));
  EXPECT_EQ(nowhere.status, kUsageError);
}

TEST_F(KvrCli, WritesAFileByItsExtensionAndVerifiesTheChipAgainstIt) {
  // Two records with a gap between them: the gap is written as 00h.
  WriteFile("prog.HEX",
            HexRecord(0x0000, "\x01\x02\x03") + HexRecord(0x0040, "\xAA\xBB") + kHexEnd);
  QString port = StartSim("017");
  const Result hex = Cli(On(port) << "write" << File("prog.HEX"));
  EXPECT_EQ(hex.status, kSuccess) << hex.err.toStdString();
  EXPECT_TRUE(hex.err.contains("File written successfully to ATMEL  AT89S8252 Number of bytes "
                               "written : 96"))
      << hex.err.toStdString();
  const Result same = Cli(On(port) << "verify" << File("prog.HEX"));
  EXPECT_EQ(same.status, kSuccess) << same.err.toStdString();
  EXPECT_TRUE(same.out.startsWith(
      QString("Verify passed: the 66 bytes of %1 match the chip.\n").arg(File("prog.HEX"))));
  StopSim();
  QByteArray expected = QByteArray("\x01\x02\x03", 3) + QByteArray(0x3D, '\0') + "\xAA\xBB";
  expected += QByteArray(8192 - expected.size(), '\xFF');
  EXPECT_EQ(SavedStore("Code"), expected);

  // A binary file is taken byte for byte, whatever it holds.
  port = StartSim("017");
  WriteFile("prog.bin", CodePattern(100));
  EXPECT_EQ(Cli(On(port) << "write" << File("prog.bin")).status, kSuccess);
  const Result other = Cli(On(port) << "verify" << File("prog.HEX"));
  EXPECT_EQ(other.status, kDeviceFailure);
  EXPECT_TRUE(other.out.startsWith(QString("Verify failed: 66 of the 66 bytes of %1 differ from "
                                           "the chip, the first at 0000H (file 01H, chip 03H).\n")
                                       .arg(File("prog.HEX"))));
  StopSim();
  EXPECT_EQ(SavedStore("Code").left(128), CodePattern(100) + QByteArray(28, '\xFF'));
}

// On a slow line the end of a reply read short (the signature result: 9 of
// its 12 characters) comes after the characters read; the write that follows
// at once must not take it for its own answer.
TEST_F(KvrCli, ChainsOperationsOnASlowLine) {
  WriteFile("prog.bin", CodePattern(64));
  const QString port = StartSim("017", {"--line-rate", "1200"});
  const Result run = Cli(On(port) << "write" << File("prog.bin"));
  EXPECT_EQ(run.status, kSuccess) << run.err.toStdString();
  StopSim();
  EXPECT_EQ(SavedStore("Code").left(64), CodePattern(64));
}

TEST_F(KvrCli, RefusesAMissingOrDamagedFileBeforeThePort) {
  WriteFile("damaged.hex", HexRecord(0, "\x01\x02") + ":0200100001FF00\n" + kHexEnd);
  WriteFile("text.hex", "not a hex file at all\n");
  const QList<QPair<QString, QString>> refused{
      {File("damaged.hex"), "The selected file is damaged at line 2. Load it anyway?"},
      {File("text.hex"), "The selected file is not in HEX Format."},
      {File("absent.bin"), "File not found."},
  };
  for (const auto &[file, text] : refused)
    for (const char *command : {"write", "verify", "auto"}) {
      // --yes does not load a damaged file.
      const Result run = Cli(On(File("no-port")) << "--yes" << command << file);
      EXPECT_EQ(run.status, kUsageError) << command << ' ' << file.toStdString();
      EXPECT_TRUE(run.err.contains(text)) << run.err.toStdString();
      EXPECT_FALSE(run.err.contains("There is no device")) << "the port was opened";
    }
}

TEST_F(KvrCli, AFileLargerThanTheDeviceNeedsYes) {
  WriteFile("big.bin", CodePattern(8192 + 2));
  const QString port = StartSim("017");
  const Result asked = Cli(On(port) << "write" << File("big.bin"));
  EXPECT_EQ(asked.status, kUsageError);
  EXPECT_TRUE(asked.err.contains("is more than the size of the selected MCU's memory."))
      << asked.err.toStdString();
  const Result answered = Cli(On(port) << "--yes"
                                       << "write" << File("big.bin"));
  EXPECT_EQ(answered.status, kSuccess) << answered.err.toStdString();
  EXPECT_TRUE(answered.err.contains("Number of bytes written : 8192"));
}

TEST_F(KvrCli, AutoProgramsChipAfterChipWithALineEach) {
  WriteFile("prog.bin", CodePattern(64));
  const QString port = StartSim("006");
  // The simulator keeps its one chip: locked after the first Auto, it
  // refuses the second write.
  const Result two = Cli(On(port, "006") << "auto"
                                         << "--count"
                                         << "2" << File("prog.bin"),
                         "\n");
  EXPECT_EQ(two.status, kDeviceFailure) << two.err.toStdString();
  EXPECT_EQ(two.out, "Chip 1: passed\nChip 2: failed (Write Failed)\n");
  EXPECT_TRUE(two.err.contains("MCU Erased, file successfully Written, Lock passed and Blank "
                               "Check verified."));
  EXPECT_TRUE(two.err.contains("seat chip 2 and press Enter."));
  StopSim();
  EXPECT_EQ(SavedLockBits(), 3);
  EXPECT_EQ(SavedStore("Code").left(64), CodePattern(64));

  const QString again = StartSim("006");
  const Result noInput = Cli(On(again, "006") << "auto"
                                              << "--count"
                                              << "2" << File("prog.bin"));
  EXPECT_EQ(noInput.status, kUsageError);
  EXPECT_TRUE(noInput.err.contains("the input ended before chip 2.")) << noInput.err.toStdString();
}

TEST_F(KvrCli, ConvertsAHexFileToBinary) {
  WriteFile("prog.hex", HexRecord(0x0010, "\x11\x22") + kHexEnd);
  const Result run = Cli({"convert", File("prog.hex"), File("prog.out")});
  EXPECT_EQ(run.status, kSuccess) << run.err.toStdString();
  EXPECT_EQ(ReadFile("prog.out"), QByteArray(16, '\0') + "\x11\x22");
  EXPECT_EQ(Cli({"convert", File("prog.hex"), File("no/such/folder/x.bin")}).status, kUsageError);
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
  const QString port = StartSim("017");
  const QList<QStringList> saves{{"convert", File("small.bin"), File("old.bin")},
                                 On(port) << "read" << File("old.bin")};
  for (const QStringList &save : saves) {
    WriteFile("old.bin", "the old file");
    const Result run = Cli(QStringList{"--yes"} + save, {}, fullAfter1K);
    EXPECT_NE(run.status, kSuccess) << save.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains("could not be saved: File too large.")) << run.err.toStdString();
    EXPECT_TRUE(ReadFile("old.bin") == "the old file") << "the old file is lost";
  }
  EXPECT_EQ(QDir(files.path()).entryList(QDir::Files).size(), 2) << "nothing left behind";
}

// What the window would ask about, or never do, before a file is written.
TEST_F(KvrCli, NeverWritesOverItsInputNorAnyFileUnasked) {
  const QByteArray hex = HexRecord(0, "\x01\x02") + kHexEnd;
  WriteFile("prog.hex", hex);
  ASSERT_EQ(::mkfifo(File("fifo").toLocal8Bit().constData(), 0600), 0);
  const QStringList read{"--port", File("no-port"), "--device", "017", "read"};
  const struct {
    QStringList arguments;
    int status;
    const char *text;
  } cases[] = {
      {{"convert", File("prog.hex"), File("prog.hex")}, kUsageError, "is the file read"},
      {{"convert", File("prog.hex"), File("old.bin")}, kUsageError, "already exists"},
      {QStringList(read) << File("old.bin"), kUsageError, "already exists"},
      {{"--yes", "convert", File("prog.hex"), File("fifo")}, kUsageError, "not a regular file"},
      {{"--yes", "convert", File("prog.hex"), File("old.bin")}, kSuccess, "Yes (--yes)"},
  };
  for (const auto &c : cases) {
    WriteFile("old.bin", "old");
    const Result run = Cli(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains(c.text)) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("There is no device")) << "asked after the port";
  }
  EXPECT_EQ(ReadFile("prog.hex"), hex);
  EXPECT_FALSE(QFileInfo(File("fifo")).isFile());
  EXPECT_EQ(ReadFile("old.bin"), QByteArray("\x01\x02", 2) + QByteArray(14, 0)) << "replaced";
}

// Where the window shows nothing (a refusal code it has no text for, a
// reason after "F" it does not know), kvr-cli still says why, even --quiet.
TEST_F(KvrCli, EveryFailedRunSaysWhyOnALineOfItsOwn) {
  for (const auto &[fault, status, why] :
       {std::tuple{"nak=41@B1-5", kLinkFailure,
                   "the programmer refused the command on every attempt (<15h>A)."},
        std::tuple{"fail=X@B1", kDeviceFailure, "the programmer reported a failure (FX)."}}) {
    const Result run = Cli(On(StartSim("017", {"--fault", fault})) << "--quiet"
                                                                   << "blank-check");
    EXPECT_EQ(run.status, status) << fault;
    EXPECT_EQ(run.err, QString("kvr-cli: Blank Check Failed: %1\n").arg(why)) << fault;
    TearDown();
  }
}

TEST_F(KvrCli, MovesSpecialAreasThroughFiles) {
  const QByteArray eeprom = CodePattern(2048, 5);
  WriteFile("eeprom.bin", eeprom);
  const QString port = StartSim("017"); // AT89S8252: 2 KB data EEPROM, "09" writes, "08" reads
  const Result write = Cli(On(port) << "special"
                                    << "09"
                                    << "W" << File("eeprom.bin"));
  EXPECT_EQ(write.status, kSuccess) << write.err.toStdString();
  const Result read = Cli(On(port) << "special"
                                   << "8"
                                   << "r" << File("back.bin"));
  EXPECT_EQ(read.status, kSuccess) << read.err.toStdString();
  EXPECT_EQ(ReadFile("back.bin"), eeprom);

  const Result notThisFamily = Cli(On(port) << "special"
                                            << "16"
                                            << "R");
  EXPECT_EQ(notThisFamily.status, kUsageError);
  EXPECT_TRUE(notThisFamily.err.contains("special is not available for the ATMEL AT89S8252"));
  EXPECT_EQ(Cli(On(port) << "special"
                         << "09"
                         << "W")
                .status,
            kUsageError)
      << "no FILE";
  EXPECT_EQ(Cli(On(port) << "special"
                         << "1x"
                         << "R")
                .status,
            kUsageError);
  StopSim();
  EXPECT_EQ(SavedStore("Eeprom"), eeprom);
}

TEST_F(KvrCli, ShowsAndSetsSpecialBytesThroughTheDialog) {
  const QString port = StartSim("039"); // P89C669: status byte and two boot vectors
  const Result shown = Cli(On(port, "039") << "special"
                                           << "16"
                                           << "R");
  EXPECT_EQ(shown.status, kSuccess) << shown.err.toStdString();
  EXPECT_TRUE(shown.out.startsWith("Status Byte: ")) << shown.out.toStdString();
  EXPECT_EQ(shown.out.count('\n'), 3);

  const Result set = Cli(On(port, "039") << "special"
                                         << "16"
                                         << "R"
                                         << "00,FC,01");
  EXPECT_EQ(set.status, kSuccess) << set.err.toStdString();
  const Result again = Cli(On(port, "039") << "special"
                                           << "16"
                                           << "R");
  EXPECT_EQ(again.out, "Status Byte: 00\nBoot Vector1: FC\nBoot Vector2: 01\n");

  const Result notHex = Cli(On(port, "039") << "special"
                                            << "16"
                                            << "R"
                                            << "0G");
  EXPECT_EQ(notHex.status, kUsageError);
  EXPECT_TRUE(notHex.err.contains("InCorrect Input !! Not a Valid Hexadecimal Number"));
  const Result tooFew = Cli(On(port, "039") << "special"
                                            << "16"
                                            << "R"
                                            << "00");
  EXPECT_EQ(tooFew.status, kUsageError);
  EXPECT_TRUE(tooFew.err.contains("takes 3 byte(s) here, not 1")) << tooFew.err.toStdString();
}

// Ctrl-C while the programmer's answer is late: the wait ends, the one
// closing ACK goes out, and the run ends with 130 without saving anything.
TEST_F(KvrCli, CtrlCStopsTheExchangeClosesWithAckAndEndsWith130) {
  struct Case {
    const char *fault;
    QStringList command;
    char letter;
    int acksBefore;      // the PC's ACKs after the command, up to the late answer
    int charactersAfter; // what the PC sent since its last ACK: a block frame of a write
  };
  WriteFile("prog.bin", CodePattern(256));
  const QList<Case> cases{
      {"delay=8000@W1/blk3", {"write", File("prog.bin")}, 'W', 2, 68},
      {"delay=8000@R1/data2", {"read", File("chip.bin")}, 'R', 3, 0},
  };
  for (const Case &c : cases) {
    const QString port = StartSim("017", {"--fault", c.fault});
    LineTap tap(port);
    qsizetype atCtrlC = -1;
    const auto waitingForTheLateAnswer = [&] {
      const QByteArray sent = tap.fromPc();
      const qsizetype command = sent.indexOf(QByteArray("\x05") + c.letter);
      if (command < 0)
        return false;
      const QByteArray after = sent.mid(command);
      const qsizetype lastAck = after.lastIndexOf(kClosingAck);
      if (after.count(kClosingAck) != c.acksBefore ||
          after.size() - lastAck - kClosingAck.size() != c.charactersAfter)
        return false;
      atCtrlC = sent.size();
      return true;
    };
    const Result run = CliInterruptedWhen(On(tap.pcPath()) << c.command, waitingForTheLateAnswer);
    EXPECT_EQ(run.status, kInterrupted) << c.fault << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Operation interrupted by the user.")) << run.err.toStdString();
    ASSERT_GE(atCtrlC, 0);
    EXPECT_EQ(tap.fromPc().mid(atCtrlC), kClosingAck) << c.fault << ": no closing ACK";
    EXPECT_FALSE(QFile::exists(File("chip.bin")));
    TearDown();
  }
}

TEST_F(KvrCli, AWarningWindowNeedsYes) {
  SeedCode("75", CodePattern(65536));
  QString port = StartSim("75"); // P89V51RD2: erasing block 0 also erases block 1
  const Result asked = Cli(On(port, "75") << "erase");
  EXPECT_EQ(asked.status, kUsageError);
  EXPECT_TRUE(asked.err.contains("ChipErase will Erase Block#1 also.")) << asked.err.toStdString();
  EXPECT_TRUE(asked.err.contains("--yes"));
  StopSim();
  EXPECT_EQ(SavedStore("Code"), CodePattern(65536)) << "nothing erased without an answer";

  port = StartSim("75");
  const Result answered = Cli(On(port, "75") << "--yes"
                                             << "erase");
  EXPECT_EQ(answered.status, kSuccess) << answered.err.toStdString();
  EXPECT_TRUE(answered.err.contains("MCU successfully Erased."));
  StopSim();
  EXPECT_EQ(SavedStore("Code"), QByteArray(65536, char(0xFF)));
}

TEST_F(KvrCli, DemoWritesReadsBackAndCompares) {
  const Result demo = Cli({"--timeout", "5", "demo"});
  EXPECT_EQ(demo.status, kSuccess) << demo.err.toStdString();
  EXPECT_EQ(demo.out, "Demo passed: 1024 bytes written to ATMEL AT89S8252 on the simulator, read "
                      "back and compared.\n");
  EXPECT_TRUE(demo.err.contains("File written successfully to ATMEL  AT89S8252"))
      << demo.err.toStdString();
}

} // namespace
