// Faults of the simulator's fault plan against write, read and erase: the
// failure texts each one shows, in order, and its status. What every fault
// must leave behind (closing ACK, menus, buffer) is the fault matrix's.
#include "BaseModule.h"
#include "SimRig.h"

#include <gtest/gtest.h>

using namespace kvr;
using kvr::test::Pattern;

namespace {

const QByteArray kClosingAck("\x06\x0d", 2);

struct Fault {
  const char *fault;
  const char *command;  // control triggered
  QStringList messages; // expected in this order, possibly with others between
  const char *status;
};

void PrintTo(const Fault &f, std::ostream *os) { *os << f.fault << " on " << f.command; }

class OperationFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(OperationFaults, ShowsItsFailureTextsAndStatus) {
  const Fault &f = GetParam();
  test::SimRig rig;
  rig.Start("001"); // 4 KB: 128 blocks
  rig.Load(Pattern(4096));
  rig.programmer.faults().add(QString::fromLatin1(f.fault));
  rig.ui.answers = {Answer::Yes}; // a read asks before it replaces the screen
  rig.core.Trigger(QString::fromLatin1(f.command));

  const QStringList shown = rig.ui.texts();
  qsizetype from = 0;
  for (const QString &expected : f.messages) {
    const qsizetype at = shown.indexOf(expected, from);
    EXPECT_GE(at, 0) << "missing or out of order: " << expected.toStdString()
                     << "\nshown: " << shown.join(" | ").toStdString();
    from = at + 1;
  }
  EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), QString(f.status));
}

const char *const kTimedOut = "The requested operation has timed out.";
const char *const kWriteFailed = "Write failed.";

INSTANTIATE_TEST_SUITE_P(
    Write, OperationFaults,
    ::testing::Values(
        Fault{"nak=NUL@W1-5",
              "TbnWrite",
              {"Error at Slave : Unknown Command.", kWriteFailed},
              "Write Failed"},
        Fault{"fail=S@W1/blk1",
              "TbnWrite",
              {"Block write failed due to failure of Signature Verification.", kWriteFailed},
              "Write Failed"},
        Fault{"fail=E@W1/blk64",
              "TbnWrite",
              {"Block write failed due to Erase failure.", kWriteFailed},
              "Write Failed"},
        Fault{"fail=V@W1/blk128",
              "TbnWrite",
              {"Block write failed due to failure of Write Verification.", kWriteFailed},
              "Write Failed"},
        Fault{"drop@W1/blk7", "TbnWrite", {kTimedOut, kWriteFailed}, "Write Failed"},
        Fault{"bcc@W1/blk7",
              "TbnWrite",
              {"Error at Master : BCC Error.", kWriteFailed},
              "Write Failed"},
        Fault{"unplug@W1/blk9",
              "TbnWrite",
              {"The connection to the programmer on COM1 was lost.", kWriteFailed},
              "Write Failed"}));

INSTANTIATE_TEST_SUITE_P(
    Read, OperationFaults,
    ::testing::Values(
        Fault{"nak=DC2@R1-5", "TbnRead", {"Error at Slave : BCC Error."}, "Read Failed"},
        Fault{"fail=S@R1/blk1",
              "TbnRead",
              {"Read failed due to failure of Signature Verification."},
              "Read Failed"},
        Fault{"fail=V@R1/blk70",
              "TbnRead",
              {"Read failed due to failure of Verification."},
              "Read Failed"},
        Fault{"drop@R1/data128", "TbnRead", {kTimedOut}, "Read Failed"},
        Fault{"delay=600@R1/blk3", "TbnRead", {kTimedOut}, "Read Failed"},
        Fault{"unplug@R1/data2",
              "TbnRead",
              {"The connection to the programmer on COM1 was lost."},
              "Read Failed"}));

INSTANTIATE_TEST_SUITE_P(
    Erase, OperationFaults,
    ::testing::Values(
        Fault{"fail=S@E1",
              "TbnErase",
              {"Erase failed due to Signature Verification failure."},
              "Erase Failed"},
        Fault{
            "fail=V@E1", "TbnErase", {"Erase failed due to Blank Check failure."}, "Erase Failed"},
        Fault{"nak=ENQ@E1-5", "TbnErase", {"Error at Slave : Missing ENQ Code."}, "Erase Failed"},
        Fault{"drop@E1", "TbnErase", {kTimedOut}, "Erase Failed"}));

TEST(OperationRetries, FourRefusalsOfFiveStillWrite) {
  test::SimRig rig;
  rig.Start("001");
  rig.Load(Pattern(256));
  rig.programmer.faults().add("nak=SYN@W1-4");
  rig.core.Trigger("TbnWrite");
  EXPECT_EQ(
      rig.ui.texts(),
      QStringList{"File written successfully to ATMEL  AT89C51\r\rNumber of bytes written : 256"})
      << "errors of the first four attempts stay silent";
  EXPECT_EQ(rig.ChipCode(256), Pattern(256));
}

TEST(OperationFaultsStop, StopMidReadLoadsNothing) {
  test::SimRig rig;
  rig.Start("001");
  rig.Load(Pattern(64));
  rig.ui.answers = {Answer::Yes};
  int passes = 0;
  rig.ui.onProcessEvents = [&] {
    if (++passes == 30)
      rig.session.requestStop();
  };
  rig.core.Trigger("TbnRead");
  EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), QString("Read Interrupted"));
  EXPECT_EQ(rig.core.buffer().rowCount(), 4);
  EXPECT_TRUE(rig.Wire().endsWith(kClosingAck));
}

TEST(OperationFaultsStop, SignatureFailureOnAnUnverifiedChipLeavesTheEraseButtons) {
  test::SimRig rig;
  rig.Start("001");
  rig.session.SignatureVerified = false;
  rig.programmer.faults().add("fail=S@E1");
  rig.core.eraseBlank().EraseMCU('E');
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_12v"));
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_5v"));

  // The same after a read whose first status frame reports it.
  rig.core.panel().SetMenuOptions(false);
  ASSERT_FALSE(rig.core.panel().isEnabled("TbnErase_12v"));
  rig.programmer.faults().add("fail=S@R1/blk1");
  rig.core.writeRead().ReadMCU();
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_12v"));
  EXPECT_TRUE(rig.core.panel().isEnabled("TbnErase_5v"));
}

} // namespace
