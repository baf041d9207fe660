// Every device operation against every fault the simulated programmer can
// commit, at its first command, its first, a middle and its last block: no
// success is ever claimed that the chip does not bear out, a failure is
// reported as one, the programmer gets its closing ACK, the menus come back
// and a read that fails leaves the buffer as it was. A programmer that stalls
// past the time-out and then goes on is checked once it has gone on.
#include "BaseModule.h"
#include "FrameSplitter.h"
#include "SimChip.h"
#include "SimRig.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace kvr;
using kvr::test::Pattern;

namespace {

const QByteArray kClosingAck("\x06\x0d", 2);
constexpr int kImageSize = 4096;            // the whole code memory of device 001
constexpr int kLastBlock = kImageSize / 32; // 128 blocks of 32 bytes
constexpr int kRefusals = 5;                // every attempt the PC makes

// Which reply a fault hits: the handshakes carry ACK or NAK, the results a
// verdict, the data frames of a read only bytes.
enum class Reply { Handshake, Verdict, Data };

struct Position {
  std::string where; // the part of the fault plan's WHERE after the command
  Reply reply;
};

struct Operation {
  const char *name;
  const char *control;
  std::vector<std::pair<QString, Position>> positions; // command ("W1"), reply
  // Whether the chip and the buffer bear out a success the program claimed,
  // the fault having hit that kind of reply.
  std::function<bool(test::SimRig &, Reply hit)> succeeded;
  // The chip, and the store the operation works on: its size is the image's.
  const char *chip = "001";
  sim::Store store = sim::Store::Code;
  int size = kImageSize;
};

QByteArray Code(test::SimRig &rig) {
  return rig.programmer.chip()->stored(sim::Store::Code).left(kImageSize);
}

bool Blank(test::SimRig &rig, Reply) { return rig.programmer.chip()->readsBlank(sim::Store::Code); }

bool Written(test::SimRig &rig, Reply) { return Code(rig) == Pattern(kImageSize); }

bool ReadIntoBuffer(test::SimRig &rig, Reply) {
  const ImageBuffer &buffer = rig.core.buffer();
  return buffer.FileEnd == kImageSize + 1 && buffer.imageBytes(kImageSize) == Code(rig);
}

std::vector<std::pair<QString, Position>> TransferPositions(const QString &command, bool write,
                                                            int blocks = kLastBlock) {
  std::vector<std::pair<QString, Position>> positions{{command, {"hs", Reply::Handshake}}};
  for (const int block : {1, blocks / 2, blocks}) {
    const std::string n = std::to_string(block);
    positions.push_back(
        {command, {(write ? "ack" : "blk") + n, write ? Reply::Handshake : Reply::Verdict}});
    positions.push_back(
        {command, {(write ? "blk" : "data") + n, write ? Reply::Verdict : Reply::Data}});
  }
  return positions;
}

std::vector<std::pair<QString, Position>> CommandPositions(const QString &command) {
  return {{command, {"hs", Reply::Handshake}}, {command, {"res", Reply::Verdict}}};
}

// Auto: its write, then its lock command.
std::vector<std::pair<QString, Position>> AutoPositions() {
  std::vector<std::pair<QString, Position>> positions = TransferPositions("W1", true);
  for (const auto &lockPosition : CommandPositions("L1"))
    positions.push_back(lockPosition);
  return positions;
}

const std::vector<Operation> &Operations() {
  static const std::vector<Operation> operations{
      // The seated chip is the right one: a pass is honest when the fault
      // spared the verdict, or another attempt brought one.
      {"SignatureVerification", "TbnVerifySignature", CommandPositions("S2"),
       [](test::SimRig &rig, Reply hit) {
         return hit != Reply::Verdict || rig.Wire().count("\x02\x05S") >= 2;
       }},
      {"Erase", "TbnErase", CommandPositions("E1"), Blank},
      {"BlankCheck", "TbnBlankCheck", CommandPositions("B1"), Blank},
      {"Write", "TbnWrite", TransferPositions("W1", true), Written},
      {"Read", "TbnRead", TransferPositions("R1", false), ReadIntoBuffer},
      {"Lock", "TbnLock", CommandPositions("L1"),
       [](test::SimRig &rig, Reply) { return rig.programmer.chip()->isLocked(); }},
      {"Auto", "TbnAuto", AutoPositions(),
       [](test::SimRig &rig, Reply hit) {
         return Written(rig, hit) && rig.programmer.chip()->isLocked();
       }},
      // The 2 KB data EEPROM of the AT89S8252, written from the buffer.
      {"AreaWrite", "MnuWrite2kEEPROM", TransferPositions("P1", true, 64),
       [](test::SimRig &rig, Reply) {
         return rig.programmer.chip()->stored(sim::Store::Eeprom) == Pattern(2048);
       },
       "017", sim::Store::Eeprom, 2048},
  };
  return operations;
}

constexpr const char *kTimedOut = "The requested operation has timed out.";

// What a failed command shows, by its letter: its status, and the text of a
// failed verdict S, E or V ("W:E": an erase failure in a write's block).
const QHash<char, QString> kFailedStatus{{'S', "Signature Verification Failed"},
                                         {'E', "Erase Failed"},
                                         {'B', "Blank Check Failed"},
                                         {'W', "Write Failed"},
                                         {'R', "Read Failed"},
                                         {'L', "Lock Failed"}};
const QHash<QString, QString> kVerdictTexts{
    {"W:S", "Block write failed due to failure of Signature Verification."},
    {"W:E", "Block write failed due to Erase failure."},
    {"W:V", "Block write failed due to failure of Write Verification."},
    {"R:S", "Read failed due to failure of Signature Verification."},
    {"R:V", "Read failed due to failure of Verification."},
    {"E:S", "Erase failed due to Signature Verification failure."},
    {"E:V", "Erase failed due to Blank Check failure."},
    {"B:S", "Blank Check failed due to Signature Verification failure."},
    {"B:V", "MCU is not Blank."},
    {"L:S", "Lock failed due to failure of Signature Verification."},
    {"L:V", "Lock failed due to failure of Lock Verification."}};

struct FaultKind {
  const char *name;
  const char *text;  // the fault without its WHERE
  const char *shows; // on a failure, whatever the operation
  std::vector<Reply> hits;
  bool refusal = false;  // given for every attempt the PC makes
  bool endsLine = false; // nothing can be sent after it
  bool goesOn = false;   // the programmer works on after the operation ended
};

const std::vector<Reply> kAnyReply{Reply::Handshake, Reply::Verdict, Reply::Data};
const std::vector<FaultKind> kFaults{
    {"Nak", "nak=DC2", "Error at Slave : BCC Error.", {Reply::Handshake}, true},
    {"FailS", "fail=S", nullptr, {Reply::Verdict}},
    {"FailE", "fail=E", nullptr, {Reply::Verdict}},
    {"FailV", "fail=V", nullptr, {Reply::Verdict}},
    {"Drop", "drop", kTimedOut, kAnyReply},
    {"Truncate", "truncate=1", kTimedOut, kAnyReply},
    {"Late", "delay=600", kTimedOut, kAnyReply},
    {"Bcc", "bcc", "Error at Master : BCC Error.", {Reply::Verdict, Reply::Data}},
    {"Unplug", "unplug", "The connection to the programmer on COM1 was lost.", kAnyReply, false,
     true},
    // Longer than the rig's 300 ms time-out, short enough to keep the matrix quick.
    {"Stall", "stall=400", kTimedOut, kAnyReply, false, false, true},
};

struct Case {
  const Operation *operation;
  QString command;
  Position position;
  const FaultKind *fault;

  QStringList FaultTexts() const {
    const QString fault = QString::fromLatin1(this->fault->text) + QLatin1Char('@');
    const QString part = QStringLiteral("/") + QString::fromStdString(position.where);
    if (!this->fault->refusal)
      return {fault + command + part};
    if (position.where == "hs") { // each attempt is a command of its own
      const int first = command.mid(1).toInt();
      return {fault + command + QStringLiteral("-%1").arg(first + kRefusals - 1) + part};
    }
    return QStringList(kRefusals, fault + command + part); // a block refused each time
  }
};

std::vector<Case> AllCases() {
  std::vector<Case> cases;
  for (const Operation &operation : Operations())
    for (const auto &[command, position] : operation.positions)
      for (const FaultKind &fault : kFaults)
        if (std::find(fault.hits.begin(), fault.hits.end(), position.reply) != fault.hits.end())
          cases.push_back({&operation, command, position, &fault});
  return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Case> &info) {
  const Case &c = info.param;
  return std::string(c.operation->name) + "_" + c.command.toStdString() + "_" + c.position.where +
         "_" + c.fault->name;
}

void PrintTo(const Case &c, std::ostream *os) { *os << c.FaultTexts().join(' ').toStdString(); }

// The texts by which each operation claims success.
const QStringList kSuccessTexts{"Signature verification passed.",
                                "MCU successfully Erased.",
                                "MCU is Blank.",
                                "File written successfully",
                                "End of Read",
                                "Lock Passed",
                                "MCU Erased, file successfully Written",
                                "Data written successfully"};

bool ClaimsSuccess(const QStringList &shown) {
  for (const QString &text : shown)
    for (const QString &success : kSuccessTexts)
      if (text.startsWith(success))
        return true;
  return false;
}

class FaultMatrix : public ::testing::TestWithParam<Case> {};

// True when the PC sent a frame again right after itself: a retry.
bool SentAgain(const QByteArray &wire) {
  sim::FrameSplitter splitter;
  QByteArray previous;
  for (const sim::FrameSplitter::Piece &piece : splitter.feed(wire)) {
    if (piece.kind == sim::FrameSplitter::Piece::Kind::Frame && piece.bytes == previous)
      return true;
    previous = piece.bytes;
  }
  return false;
}

// Lets the programmer finish what it still has on the line.
void WaitUntilIdle(test::SimRig &rig) {
  QElapsedTimer clock;
  clock.start();
  while (!rig.programmer.idle() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  test::Settle();
}

TEST_P(FaultMatrix, NoFalseSuccessAndEverythingRestored) {
  const Case &c = GetParam();
  const Operation &op = *c.operation;
  test::SimRig rig;
  rig.Start(op.chip);
  // The chip holds something else than the buffer, so that a read, a write
  // and an erase each change what they claim to.
  if (op.control != QByteArray("TbnBlankCheck")) {
    ASSERT_TRUE(rig.programmer.chip()->write(op.store, 0, Pattern(op.size + 1).mid(1)));
  }
  rig.Load(Pattern(op.size));
  const ImageBuffer &buffer = rig.core.buffer();
  const QByteArray bufferBefore = buffer.imageBytes(op.size);
  rig.ui.answers = {Answer::Yes}; // a read asks before it replaces the screen
  rig.ui.lockBitChoices = {std::array<bool, 4>{true, false, false, false}};
  for (const QString &fault : c.FaultTexts())
    rig.programmer.faults().add(fault);

  rig.core.Trigger(QString::fromLatin1(op.control));
  if (c.fault->goesOn)
    WaitUntilIdle(rig);

  const QStringList shown = rig.ui.texts();
  const QString status = rig.ui.panelText(Panel::SbrActivity);
  const std::string context =
      "shown: " + shown.join(" | ").toStdString() + "\nstatus: " + status.toStdString();
  if (ClaimsSuccess(shown)) {
    EXPECT_TRUE(op.succeeded(rig, c.position.reply)) << "success claimed on a failure\n" << context;
    EXPECT_FALSE(status.endsWith("Failed")) << context;
  } else {
    // The area write of the data EEPROM fails as a write does.
    const char letter = c.command[0] == 'P' ? 'W' : c.command[0].toLatin1();
    EXPECT_EQ(status, kFailedStatus.value(letter)) << "a failure must say so\n" << context;
    const QString why =
        c.fault->shows
            ? QString(c.fault->shows)
            : kVerdictTexts.value(letter + QString(":") + QChar(c.fault->text[5])); // fail=X
    // A handshake lost or cut short is retried, and the retry may meet another
    // failure: only a refused one is sure to be named.
    if (!why.isEmpty() && (c.fault->refusal || c.position.reply != Reply::Handshake)) {
      const QStringList expected = QStringList(why) + QStringList(letter == 'W', "Write failed.");
      EXPECT_EQ(shown.mid(shown.indexOf(why), expected.size()), expected) << "says why\n"
                                                                          << context;
    }
  }
  if (c.fault->goesOn) {
    // A programmer that is silent may be working on what it got: a second
    // copy would be taken as a command or block of its own.
    EXPECT_FALSE(SentAgain(rig.Wire())) << "sent again into the silence\n" << context;
  }
  if (op.control == QByteArray("TbnAuto") && !Written(rig, c.position.reply)) {
    EXPECT_FALSE(rig.programmer.chip()->isLocked()) << "locked after a failed write\n" << context;
  }
  if (!c.fault->endsLine) {
    EXPECT_TRUE(rig.Wire().endsWith(kClosingAck)) << "the programmer is left waiting";
  }
  EXPECT_TRUE(rig.core.panel().isEnabled("MnuFile"));
  EXPECT_FALSE(rig.core.panel().isEnabled("TbnStop"));
  EXPECT_FALSE(rig.session.StopRequested());
  EXPECT_EQ(rig.ui.busyDepth, 0);
  if (!(op.control == QByteArray("TbnRead") && ClaimsSuccess(shown))) {
    EXPECT_EQ(buffer.imageBytes(op.size), bufferBefore) << "the buffer is left alone";
    EXPECT_EQ(buffer.FileEnd, op.size + 1);
  }
}

INSTANTIATE_TEST_SUITE_P(AllOperations, FaultMatrix, ::testing::ValuesIn(AllCases()), CaseName);

} // namespace
