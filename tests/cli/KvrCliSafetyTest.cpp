// kvr-cli against kvr-sim: it never sends what the window would not, nothing
// is left half done by a question it could have seen coming, and every
// exchange is closed on the line before it waits for the operator.
#include "CliRig.h"
#include "LineTap.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace kvr::test;

namespace {

constexpr int kUsageError = 2, kInterrupted = 130;
const QByteArray kClosingAck("\x06\x0d", 2);

QStringList On(const QString &port, const QString &device) {
  return {"--port", port, "--device", device, "--timeout", "2"};
}

class KvrCliSafety : public CliRig {};

// What the PC sent within a moment, once the LineTap has taken it.
QByteArray Settled(const LineTap &tap) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 200)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return tap.fromPc();
}

TEST_F(KvrCliSafety, RefusesSpecialCommandsTheWindowDoesNotOfferBeforeSendingAnything) {
  WriteFile("a4k.bin", CodePattern(4096));
  LineTap tap(StartSim("017")); // AT89S8252: the data EEPROM only
  const QList<QStringList> refused{{"special", "23", "W", File("a4k.bin")},
                                   {"special", "14", "S"},
                                   {"special", "20", "R"},
                                   {"special", "50", "R", File("up.bin")}};
  for (const QStringList &command : refused) {
    const Result run = Cli(On(tap.pcPath(), "017") << "--yes" << command);
    EXPECT_EQ(run.status, kUsageError) << command.join(' ').toStdString();
    EXPECT_TRUE(run.err.contains("it offers 08 R, 09 W.")) << run.err.toStdString();
  }
  EXPECT_EQ(Settled(tap), QByteArray());
}

TEST_F(KvrCliSafety, AutoClosesTheLockOnTheLineBeforeWaitingForTheNextChip) {
  WriteFile("prog.bin", CodePattern(64));
  LineTap tap(StartSim("006"));
  // Ctrl-C at the Enter prompt ends the run at once.
  const Result run = CliInterruptedAtPrompt(On(tap.pcPath(), "006") << "auto"
                                                                    << "--count"
                                                                    << "2" << File("prog.bin"),
                                            "seat chip 2");
  EXPECT_EQ(run.status, kInterrupted) << run.err.toStdString();
  const QByteArray sent = tap.fromPc();
  const QByteArray lock = sent.mid(sent.lastIndexOf(QByteArray("\x05L")));
  EXPECT_EQ(lock.count(kClosingAck), 1) << lock.toHex().toStdString();
  EXPECT_TRUE(lock.endsWith(kClosingAck)) << lock.toHex().toStdString();
}

} // namespace
