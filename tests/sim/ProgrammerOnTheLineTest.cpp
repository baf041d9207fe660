// The simulated programmer as the PC meets it: through the link's exchange,
// in-process behind a LoopbackPort and on a real pseudo-terminal opened with
// QSerialPort.
#include "ChipSource.h"
#include "FirmwareHarness.h"
#include "Globals.h"
#include "LoopbackPort.h"
#include "PcSide.h"
#include "Programmer.h"
#include "PtyServer.h"
#include "QtSerialPort.h"
#include "ScriptedUi.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace kvr;
using namespace kvr::BaseModule;
using namespace kvr::sim;
using namespace kvr::sim::test;
using namespace std::chrono_literals;

namespace {

enum class PortKind { Loopback, Pty };

class ProgrammerOnTheLine : public ::testing::TestWithParam<PortKind> {
protected:
  void SetUp() override {
    programmer.seat(std::make_unique<SimChip>(*FindBuiltInChip("071")));
    if (GetParam() == PortKind::Loopback) {
      port = std::make_unique<LoopbackPort>(&programmer);
    } else {
      server = std::make_unique<PtyServer>(programmer);
      QString error;
      ASSERT_TRUE(server->open(&error)) << error.toStdString();
      auto qtPort = std::make_unique<QtSerialPort>();
      qtPort->setPortName(server->slavePath());
      port = std::move(qtPort);
    }
    ASSERT_TRUE(port->setSettings(kPortSettings));
    ASSERT_TRUE(port->open()) << port->errorString().toStdString();
    session.PortNumber = 3;
    link = std::make_unique<Link>(*port, session, ui);
    link->setReplyTimeout(3s);
    pc = std::make_unique<PcSide>(*link, *port, session);
  }

  // The characters a reply leaves in the PC's buffer beyond what it read.
  qint64 leftOver(qint64 expected) {
    QElapsedTimer clock;
    clock.start();
    while (port->bytesWaiting() < expected && clock.elapsed() < 1000)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return port->bytesWaiting();
  }

  QByteArray signatureFields() {
    return FirmwareHarness::SignatureFields(programmer.chip()->model());
  }

  Programmer programmer;
  std::unique_ptr<PtyServer> server;
  std::unique_ptr<SerialPort> port;
  Session session;
  kvr::test::ScriptedUi ui;
  std::unique_ptr<Link> link;
  std::unique_ptr<PcSide> pc;
};

TEST_P(ProgrammerOnTheLine, EveryOperationReadsTheLengthsOfTheCommandTable) {
  ASSERT_TRUE(pc->command(CmdPresence));
  ASSERT_TRUE(pc->result(FindCommand(CmdPresence)->resultLength));
  EXPECT_EQ(pc->reply().trimmed(), QByteArray("KVR1.04"));

  ASSERT_TRUE(pc->command(CmdSignature, signatureFields()));
  ASSERT_TRUE(pc->result(FindCommand(CmdSignature)->resultLength));
  EXPECT_EQ(pc->reply(), "P " + EncodeAll(QByteArray::fromHex("BF9100")));
  EXPECT_EQ(leftOver(0), 0) << "ETX, BCC and CR of the signature frame are taken with it";
  pc->closingAck();

  ASSERT_TRUE(pc->command(CmdEraseWithSignature));
  ASSERT_TRUE(pc->result(FindCommand(CmdEraseWithSignature)->resultLength));
  EXPECT_EQ(pc->reply(), QByteArray("P "));
  pc->closingAck();

  const QByteArray image = Pattern(64, 9);
  ASSERT_TRUE(pc->writeImage(CommandPayload(CmdWrite, D5(64)), image,
                             FindCommand(CmdWrite)->blockResultLength));
  EXPECT_EQ(pc->readImage(CommandPayload(CmdRead, D5(64))), image);

  ASSERT_TRUE(pc->lockCommand("1100"));
  ASSERT_TRUE(pc->result(FindCommand(CmdLock)->resultLength));
  EXPECT_EQ(pc->reply(), QByteArray("PB"));
  EXPECT_EQ(leftOver(0), 0) << "the lock frame's CR is taken with it";
  pc->closingAck();
  EXPECT_EQ(pc->readImage(CommandPayload(CmdRead, D5(64))), QByteArray(64, '\xFF'));
  EXPECT_TRUE(ui.messages.isEmpty()) << ui.texts().join('|').toStdString();
}

TEST_P(ProgrammerOnTheLine, UnpluggedMidWriteThePcLosesTheLine) {
  ASSERT_TRUE(programmer.faults().add("unplug@W1/blk2"));
  EXPECT_FALSE(pc->writeImage(CommandPayload(CmdWrite, D5(96)), Pattern(96), 16));
  EXPECT_EQ(ui.texts(), QStringList{"The connection to the programmer on COM3 was lost."});
  EXPECT_EQ(programmer.chip()->read(Store::Code, 0, 64), Pattern(64))
      << "the blocks before went in";
}

INSTANTIATE_TEST_SUITE_P(Ports, ProgrammerOnTheLine,
                         ::testing::Values(PortKind::Loopback, PortKind::Pty),
                         [](const auto &info) {
                           return info.param == PortKind::Loopback ? "Loopback" : "Pty";
                         });

TEST(ProgrammerBehindLoopback, A64KbImageWrittenBlockByBlockReadsBackTheSame) {
  Programmer programmer;
  programmer.seat(std::make_unique<SimChip>(*FindBuiltInChip("065")));
  LoopbackPort port(&programmer);
  ASSERT_TRUE(port.open());
  Session session;
  kvr::test::ScriptedUi ui;
  Link link(port, session, ui);
  link.setReplyTimeout(3s);
  PcSide pc(link, port, session);

  const QByteArray image = Pattern(SixtyFourKB, 1);
  ASSERT_TRUE(pc.writeImage(CommandPayload(CmdWrite, D5(SixtyFourKB)), image, 16));
  EXPECT_EQ(programmer.chip()->read(Store::Code, 0, SixtyFourKB), image);
  const std::optional<QByteArray> read = pc.readImage(CommandPayload(CmdRead, D5(SixtyFourKB)));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size(), SixtyFourKB);
  EXPECT_TRUE(*read == image);
  EXPECT_TRUE(ui.messages.isEmpty());
}

} // namespace
