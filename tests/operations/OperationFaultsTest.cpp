// The programmer's refusals and failed verdicts against write, read and erase:
// the failure text each one shows and its status. The link's own failures
// (time-out, BCC, lost line) and what every fault must leave behind (closing
// ACK, menus, buffer) are the fault matrix's.
#include "BaseModule.h"
#include "SimRig.h"

#include <gtest/gtest.h>

using namespace kvr;
using kvr::test::Pattern;

namespace {

struct Fault {
  const char *fault; // the letter of its command names the operation
  const char *shows; // then, on a write, "Write failed."
};

void PrintTo(const Fault &f, std::ostream *os) { *os << f.fault; }

class OperationFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(OperationFaults, ShowsItsFailureTextsAndStatus) {
  const Fault &f = GetParam();
  const char letter = QByteArray(f.fault).split('@').value(1).at(0);
  const QString operation = letter == 'W' ? "Write" : letter == 'R' ? "Read" : "Erase";
  test::SimRig rig;
  rig.Start("001"); // 4 KB: 128 blocks
  rig.Load(Pattern(4096));
  rig.programmer.faults().add(QString::fromLatin1(f.fault));
  rig.ui.answers = {Answer::Yes}; // a read asks before it replaces the screen
  rig.core.Trigger("Tbn" + operation);

  QStringList expected{f.shows};
  if (letter == 'W')
    expected.append("Write failed.");
  const QStringList shown = rig.ui.texts();
  EXPECT_EQ(shown.mid(shown.indexOf(expected[0]), expected.size()), expected)
      << shown.join(" | ").toStdString();
  EXPECT_EQ(rig.ui.panelText(Panel::SbrActivity), operation + " Failed");
}

INSTANTIATE_TEST_SUITE_P(
    Operations, OperationFaults,
    ::testing::Values(
        Fault{"nak=NUL@W1-5", "Error at Slave : Unknown Command."},
        Fault{"fail=S@W1/blk1", "Block write failed due to failure of Signature Verification."},
        Fault{"fail=E@W1/blk64", "Block write failed due to Erase failure."},
        Fault{"fail=V@W1/blk128", "Block write failed due to failure of Write Verification."},
        Fault{"fail=S@R1/blk1", "Read failed due to failure of Signature Verification."},
        Fault{"fail=V@R1/blk70", "Read failed due to failure of Verification."},
        Fault{"fail=S@E1", "Erase failed due to Signature Verification failure."},
        Fault{"fail=V@E1", "Erase failed due to Blank Check failure."},
        Fault{"nak=ENQ@E1-5", "Error at Slave : Missing ENQ Code."}));

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
