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
