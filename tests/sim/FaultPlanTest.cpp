// The fault plan: its text, and each fault as the PC meets it on the line.
#include "FirmwareHarness.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace kvr;
using namespace kvr::BaseModule;
using namespace kvr::sim;
using namespace kvr::sim::test;

namespace {

TEST(FaultPlanText, UnderstoodSpecsAndTheReasonForOthers) {
  for (const char *good :
       {"nak=SYN@1", "nak=dc2@W2", "nak=7F@3-7", "nak=ENQ@W1/ack4", "fail=V@W1/blk3", "fail=N@S1",
        "fail=S@R2/blk1", "drop@1/hs", "drop@R1/data2", "truncate=5@Q1", "delay=250@2",
        "stall=300@W1/ack2", "bcc@R1/data1", "unplug@W1/blk10", "id=KVR1.03", "id="}) {
    FaultPlan plan;
    QString error;
    EXPECT_TRUE(plan.add(QString::fromLatin1(good), &error)) << good << ": " << error.toStdString();
  }
  for (const char *bad :
       {"nak=XYZ@1", "nak=80@1", "nak=SYN", "drop=3@1", "truncate@1", "truncate=-1@1", "fail=SS@1",
        "fail=1@1", "bcc@1/hs", "bcc@W1/ack1", "nak=SYN@1/res", "fail=V@1/hs", "drop@0", "drop@3-2",
        "drop@1/blk0", "drop@w1", "drop@1/tail", "frob@1"}) {
    FaultPlan plan;
    QString error;
    EXPECT_FALSE(plan.add(QString::fromLatin1(bad), &error)) << bad;
    EXPECT_TRUE(error.contains(QString::fromLatin1(bad))) << error.toStdString();
  }
}

TEST(FaultPlanLine, ARefusedCommandIsNotCarriedOutCountingAllOrOneLetter) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("nak=SYN@2"));
  ASSERT_TRUE(h.plan.add("nak=DC2@B2"));
  ASSERT_TRUE(h.plan.add("nak=ENQ@E1-2"));
  EXPECT_EQ(h.command(CmdBlankCheck), kAck + ProgrammerFrame("P "));
  EXPECT_EQ(h.command(CmdWrite, "00032"), Nak(SYN));
  EXPECT_EQ(h.block(Pattern(32), false), Nak(ENQ)) << "no write was started";
  EXPECT_EQ(h.command(CmdBlankCheck), Nak(DC2));
  EXPECT_EQ(h.command(CmdBlankCheck).left(2), kAck);
  EXPECT_EQ(h.command(CmdEraseWithSignature), Nak(ENQ));
  EXPECT_EQ(h.command(CmdEraseWithSignature), Nak(ENQ));
  EXPECT_EQ(h.command(CmdEraseWithSignature).left(2), kAck);
}

TEST(FaultPlanLine, AFailureReplacesTheVerdictAndLeavesTheChipAlone) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("fail=V@W1/blk2"));
  ASSERT_TRUE(h.plan.add("fail=E@O1"));
  ASSERT_TRUE(h.plan.add("fail=S@R1/blk1"));
  h.command(CmdWrite, "00096");
  EXPECT_EQ(h.block(Pattern(32), true), kAck + ProgrammerFrame("P 0000000032"));
  EXPECT_EQ(h.block(Pattern(32, 1), true), kAck + ProgrammerFrame("FV0003200064"));
  EXPECT_EQ(h.block(Pattern(32, 2), false), Nak(ENQ)) << "the write ended at the failure";
  EXPECT_TRUE(h.chip().read(Store::Code, 32, 32).count('\xFF') == 32);

  EXPECT_EQ(h.command(CmdErase12V), kAck + ProgrammerFrame("FE"));
  EXPECT_EQ(h.chip().read(Store::Code, 0, 32), Pattern(32)) << "not erased";
  EXPECT_EQ(h.command(CmdRead, "00032"), kAck + ProgrammerFrame("FS"));
  EXPECT_TRUE(h.ack().isEmpty());
  EXPECT_EQ(h.command(CmdRead, "00032"), kAck + ProgrammerFrame("P ")) << "the second read";
}

TEST(FaultPlanLine, ARefusedBlockIsTakenWhenSentAgain) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("nak=DC2@W1/ack1"));
  h.command(CmdWrite, "00032");
  EXPECT_EQ(h.block(Pattern(32), false), Nak(DC2));
  EXPECT_EQ(h.block(Pattern(32), false), kAck + ProgrammerFrame("P 0000000032"));
}

TEST(FaultPlanLine, RepliesDroppedCutShortOrWithAWrongBcc) {
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
}

TEST(FaultPlanLine, UnplugClosesTheLineAfterWhatWentBefore) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("unplug@R1/data2"));
  h.chip().write(Store::Code, 0, Pattern(64));
  EXPECT_EQ(h.command(CmdRead, "00064"), kAck + ProgrammerFrame("P "));
  EXPECT_EQ(h.ack().size(), 68);
  EXPECT_EQ(h.ack(), ProgrammerFrame("P "));
  EXPECT_FALSE(h.lineClosed);
  EXPECT_TRUE(h.ack().isEmpty());
  EXPECT_TRUE(h.lineClosed);
  EXPECT_TRUE(h.command(CmdPresence).isEmpty()) << "nothing after the line is gone";
}

TEST(FaultPlanLine, AnotherIdentificationText) {
  FirmwareHarness h;
  ASSERT_TRUE(h.plan.add("id=KVR1.03"));
  EXPECT_EQ(h.command(CmdPresence), kAck + ProgrammerFrame("KVR1.03"));
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
