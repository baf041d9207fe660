// kvr-cli on a production line: auto on several kvr-sim programmers at once,
// and the production log.
#include "Checksum.h"
#include "CliRig.h"
#include "LineTap.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <memory>

using namespace kvr;
using namespace kvr::test;

namespace {

// Steps that take time: a chip's run on the simulator otherwise ends within a millisecond.
const QStringList kSlowSteps{"--op-time", "2"};

class ProductionLine : public CliRig {
protected:
  // Programmers with chip 017, each with its own options; their terminals.
  QStringList StartSims(const QList<QStringList> &options, const QStringList &common = {}) {
    QStringList paths;
    for (const QStringList &more : options)
      paths << StartSim("017", common + more);
    return paths;
  }
};

// Three programmers: one fails its second block, one is unplugged mid-write.
// The others go on, each chip gets a line on stdout and in the log, and
// the surviving lines end with the closing ACK. Round 2 runs on the two ports
// left: the first chip, locked by its Auto, now fails; the other passes.
TEST_F(ProductionLine, AutoRunsOnThreeProgrammersAtOnceAndLogsEveryChip) {
  const QByteArray image = CodePattern(1024);
  WriteFile("prog.bin", image);
  const QStringList sims =
      StartSims({{}, {"--fault", "fail=V@W1/blk2"}, {"--fault", "unplug@W1/blk5"}}, kSlowSteps);
  LineTap good(sims[0]), failing(sims[1]);
  const QStringList ports{good.pcPath(), failing.pcPath(), sims[2]};
  const Result run = CliLive(
      Args("--port " + ports.join(" --port ") + " auto @prog.bin --count 2 --log @line.jsonl"), {},
      QByteArray("\n"));
  EXPECT_EQ(run.status, kDeviceFailure) << run.err.toStdString();
  QStringList expected{
      ports[0] + ": Chip 1: passed",
      ports[1] + ": Chip 1: failed (Write Failed)",
      ports[2] + ": Chip 1: failed (Write Failed)",
      ports[0] + ": Chip 2: failed (Write Failed)",
      ports[1] + ": Chip 2: passed",
  };
  QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
  for (int i = 0; i < lines.size(); ++i)
    EXPECT_TRUE(lines[i].contains(i < 3 ? ": Chip 1: " : ": Chip 2: ")) << "round 2 after round 1";
  lines.sort();
  expected.sort();
  EXPECT_EQ(lines, expected) << run.out.toStdString();
  EXPECT_TRUE(run.err.contains(ports[2] + ": the link failed")) << run.err.toStdString();
  EXPECT_EQ(run.err.count("seat the chips of round 2"), 1);
  EXPECT_FALSE(run.err.contains("seat chip")) << "one prompt for every port";
  for (const LineTap *tap : {&good, &failing})
    EXPECT_TRUE(tap->fromPc().endsWith(kClosingAck));

  const QList<QByteArray> logged = ReadFile("line.jsonl").split('\n');
  ASSERT_EQ(logged.size(), 6) << "five lines, each ended";
  const ImageChecksum checksum = ChecksumOf(image);
  QStringList results;
  for (const QByteArray &text : logged.mid(0, 5)) {
    const QJsonObject line = QJsonDocument::fromJson(text).object();
    const auto at = [&](const char *key) { return line[key].toString(); };
    EXPECT_TRUE(QDateTime::fromString(at("time"), Qt::ISODateWithMs).isValid() &&
                at("time").endsWith('Z'))
        << text.toStdString();
    // A chip refused at once can take less than the millisecond the log counts in.
    EXPECT_GE(line["seconds"].toDouble(-1), at("result") == "passed" ? 0.002 : 0)
        << text.toStdString();
    EXPECT_EQ(QStringList({at("port"), at("device"), at("model"), at("file"), at("operation")}),
              QStringList({at("path"), "017", "ATMEL AT89S8252", File("prog.bin"), "auto"}));
    EXPECT_EQ(at("sum").toUInt(nullptr, 16), checksum.sum);
    EXPECT_EQ(at("crc32").toUInt(nullptr, 16), checksum.crc32);
    results << at("path") + ": " + at("result") + ' ' + at("message");
  }
  results.sort();
  QStringList happened{
      ports[0] + ": failed Block write failed due to Erase failure. Write failed.",
      ports[0] + ": passed ",
      ports[1] + ": failed Block write failed due to failure of Write "
                 "Verification. Write failed.",
      ports[1] + ": passed ",
      ports[2] + ": failed The connection to the programmer on COM1 was lost. "
                 "Write failed.",
  };
  happened.sort();
  EXPECT_EQ(results, happened);
}

// One Enter starts one round; input that ends before a round is said, and
// that round is not run.
TEST_F(ProductionLine, InputEndingBeforeARoundEndsTheRunThere) {
  WriteFile("prog.bin", CodePattern(64));
  const QStringList sims = StartSims({{}, {}});
  const Result run =
      CliLive(Args("--port " + sims.join(" --port ") + " auto @prog.bin --count 3"), {}, "\n");
  EXPECT_TRUE(run.err.contains("the input ended before round 3.")) << run.err.toStdString();
  EXPECT_EQ(run.out.count(": Chip 1: passed"), 2) << run.out.toStdString();
  EXPECT_EQ(run.out.count(": Chip 2: "), 2) << run.out.toStdString();
  EXPECT_FALSE(run.out.contains("Chip 3")) << run.out.toStdString();
}

// Ctrl-C while every programmer is late with its answer, on one port or on
// three at once: each wait ends, each line gets its one closing ACK, each
// chip of an auto its line, and the run ends with 130 without saving anything.
TEST_F(ProductionLine, CtrlCClosesEveryExchangeWithItsAckAndEndsWith130) {
  WriteFile("prog.bin", CodePattern(256));
  const struct {
    int programmers;
    const char *fault;
    const char *command;
    char letter;
    int acksBefore;       // the PC's ACKs after the command, up to the late answer
    int charactersAfter;  // what the PC sent since its last ACK: a block frame of a write
    const char *chipLine; // after each port's path on stdout
  } cases[] = {
      {1, "delay=8000@W1/blk3", "write @prog.bin", 'W', 2, 68, ""},
      {1, "delay=8000@R1/data2", "read @chip.bin", 'R', 3, 0, ""},
      {3, "delay=8000@W1/blk3", "auto @prog.bin", 'W', 2, 68,
       ": Chip 1: failed (Write Interrupted)"},
  };
  for (const auto &c : cases) {
    std::vector<std::unique_ptr<LineTap>> taps;
    QStringList ports;
    for (const QString &sim : StartSims(QList<QStringList>(c.programmers, {"--fault", c.fault}))) {
      taps.push_back(std::make_unique<LineTap>(sim));
      ports << taps.back()->pcPath();
    }
    std::vector<qsizetype> atCtrlC(taps.size(), -1);
    const auto allWaiting = [&](const QString &) {
      for (size_t i = 0; i < taps.size(); ++i) {
        if (!WaitsForAnswer(taps[i]->fromPc(), c.letter, c.acksBefore, c.charactersAfter))
          return false;
        atCtrlC[i] = taps[i]->fromPc().size();
      }
      return true;
    };
    const Result run =
        CliLive(Args("--port " + ports.join(" --port ") + ' ' + c.command), allWaiting);
    EXPECT_EQ(run.status, kInterrupted) << c.command << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Operation interrupted by the user.")) << run.err.toStdString();
    for (size_t i = 0; i < taps.size(); ++i) {
      ASSERT_GE(atCtrlC[i], 0);
      EXPECT_EQ(taps[i]->fromPc().mid(atCtrlC[i]), kClosingAck) << c.command << ": no closing ACK";
      EXPECT_TRUE(!*c.chipLine || run.out.contains(ports[i] + c.chipLine)) << run.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(File("chip.bin")));
    TearDown();
  }
}

} // namespace
