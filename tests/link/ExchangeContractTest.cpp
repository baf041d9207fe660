// The exchange against each SerialPort implementation: the in-process
// loopback and a real pseudo-terminal opened through QSerialPort.
#include "BaseModule.h"
#include "CommandSet.h"
#include "Frame.h"
#include "Link.h"
#include "LoopbackPort.h"
#include "PtyPeer.h"
#include "QtSerialPort.h"
#include "ScriptedPeer.h"
#include "ScriptedUi.h"
#include "Session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace kvr;
using namespace kvr::BaseModule;
using kvr::test::ProgrammerFrame;
using kvr::test::ScriptedUi;
using namespace std::chrono_literals;

namespace {

enum class PortKind { Loopback, Pty };

class ExchangeContract : public ::testing::TestWithParam<PortKind> {
protected:
  void SetUp() override {
    if (GetParam() == PortKind::Loopback) {
      auto peer = std::make_unique<test::ScriptedPeer>();
      port = std::make_unique<LoopbackPort>(peer.get());
      loopPeer = std::move(peer);
      programmer = loopPeer.get();
    } else {
      ptyPeer = std::make_unique<test::PtyPeer>();
      auto qtPort = std::make_unique<QtSerialPort>();
      qtPort->setPortName(ptyPeer->slavePath());
      port = std::move(qtPort);
      programmer = ptyPeer.get();
    }
    ASSERT_TRUE(port->setSettings(kPortSettings));
    ASSERT_TRUE(port->open()) << port->errorString().toStdString();
    session.PortNumber = 3;
    link = std::make_unique<Link>(*port, session, ui);
    link->setReplyTimeout(400ms);
    ui.setActivity("Erase");
  }

  bool Handshake(bool showErrors = true) {
    return link->SendAndReceive(CommandPayload(CmdBlankCheck), false, true, 2, showErrors, true);
  }

  Session session;
  ScriptedUi ui;
  std::unique_ptr<test::ScriptedPeer> loopPeer;
  std::unique_ptr<test::PtyPeer> ptyPeer;
  test::ScriptedPeerCore *programmer = nullptr;
  std::unique_ptr<SerialPort> port;
  std::unique_ptr<Link> link;
};

const QByteArray kAckReply("\x06\x0d", 2);

// Frames go out byte exact; a framed reply sets its end flags and leaves what
// follows it waiting; a signature result, read 9 characters of 12, takes the
// ETX, BCC and CR behind them too (a damaged BCC: see below).
TEST_P(ExchangeContract, RepliesAreTakenAsFramedAndFramesGoOutByteExact) {
  programmer->queueReply(kAckReply);
  ASSERT_TRUE(link->SendAndReceive(CommandPayload(CmdPresence), false, true, 2, true, false));
  EXPECT_EQ(session.LastReply, QByteArray(1, ACK));
  link->SendClosingAck();
  test::Settle();
  EXPECT_EQ(programmer->framesFromPc(),
            (QList<QByteArray>{QByteArray::fromHex("02055103570d"), QByteArray::fromHex("060d")}));

  programmer->queueReply(ProgrammerFrame("P") + ProgrammerFrame("abc", true));
  ASSERT_TRUE(link->SendAndReceive(CommandPayload(CmdErase5V), false, false, 5, true, false));
  EXPECT_EQ(session.LastReply, QByteArray("P"));
  EXPECT_TRUE(session.ReplyEndedWithEtx);
  EXPECT_FALSE(session.ReplyEndedWithEtb);
  ASSERT_TRUE(link->SendAndReceive(QByteArray(), false, false, 7, true, false));
  EXPECT_EQ(session.LastReply, QByteArray("abc"));
  EXPECT_TRUE(session.ReplyEndedWithEtb);
  EXPECT_FALSE(session.ReplyEndedWithEtx);
  session.LastReply = "kept";
  link->SendClosingAck();
  EXPECT_EQ(session.LastReply, QByteArray("kept"));
  EXPECT_FALSE(session.ReplyEndedWithEtb);

  const QByteArray frame = ProgrammerFrame("P !/#$%&");
  programmer->queueReply(frame);
  ASSERT_TRUE(link->SendAndReceive(CommandPayload(CmdBlankCheck), false, false, 9, true, false));
  EXPECT_EQ(session.LastReply, QByteArray("P !/#$%&"));
  EXPECT_FALSE(session.ReplyEndedWithEtx) << "what the nine characters carry";
  EXPECT_EQ(port->bytesWaiting(), 0);
  // A programmer that stops after the characters read still passes.
  programmer->queueReply(frame.left(9));
  EXPECT_TRUE(link->SendAndReceive(CommandPayload(CmdBlankCheck), false, false, 9, true, false));
  EXPECT_TRUE(ui.messages.isEmpty());
}

// A refused, damaged or short reply fails the exchange; its messages show
// only when asked for.
TEST_P(ExchangeContract, FailedRepliesShowTheirMessagesOnlyWhenAsked) {
  const QString timedOut = "The requested operation has timed out.";
  const auto badBcc = [](QByteArray frame) {
    frame[frame.size() - 2] = static_cast<char>(frame[frame.size() - 2] ^ 0x01);
    return frame;
  };
  const struct {
    QByteArray reply;
    bool plain;
    int length;
    QStringList texts;
  } cases[] = {
      {QByteArray(1, NAK) + NUL + CR, true, 2, {"Error at Slave : Unknown Command."}},
      {QByteArray(1, NAK) + ENQ + CR, true, 2, {"Error at Slave : Missing ENQ Code."}},
      {QByteArray(1, NAK) + SYN + CR, true, 2, {"Error at Slave : Parity Error."}},
      {QByteArray(1, NAK) + DC2 + CR, true, 2, {"Error at Slave : BCC Error."}},
      {QByteArray(1, NAK) + 'x' + CR, true, 2, {}}, // an unknown code fails silently
      {ProgrammerFrame("PB").left(3), false, 6, {timedOut}},
      {QByteArray(1, NAK) + DC2, true, 3, {timedOut, "Error at Slave : BCC Error."}},
      {badBcc(ProgrammerFrame("P")), false, 5, {"Error at Master : BCC Error."}},
      // Read 9 characters of 12, as a signature result: the rest is taken and checked.
      {badBcc(ProgrammerFrame("P !/#$%&")), false, 9, {"Error at Master : BCC Error."}},
  };
  for (const auto &c : cases)
    for (const bool showErrors : {true, false}) {
      ui.messages.clear();
      port->clearReceiveBuffer();
      programmer->queueReply(c.reply);
      EXPECT_FALSE(link->SendAndReceive(CommandPayload(CmdLock, "0011"), false, c.plain, c.length,
                                        showErrors, true))
          << c.reply.toHex().toStdString();
      EXPECT_EQ(ui.texts(), showErrors ? c.texts : QStringList()) << c.reply.toHex().toStdString();
      for (const auto &message : ui.messages) {
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        EXPECT_EQ(message.title, QString("KVR 1.04"));
      }
      if (!c.plain) {
        EXPECT_EQ(port->bytesWaiting(), 0) << "nothing of the frame left behind";
      }
    }
  // A reply cut short is kept as it came; the wait shows in the status, second by second.
  link->setReplyTimeout(1100ms);
  programmer->queueReply(ProgrammerFrame("PB").left(3));
  EXPECT_FALSE(link->SendAndReceive(CommandPayload(CmdLock, "0011"), false, false, 6, false, true));
  EXPECT_EQ(session.LastReply, ProgrammerFrame("PB").left(3));
  EXPECT_EQ(ui.panelText(Panel::SbrActivity), QString("Erase"));
  EXPECT_TRUE(ui.activityHistory.contains("Erase (0 Sec. )"));
  EXPECT_TRUE(ui.activityHistory.contains("Erase (1 Sec. )"));
}

// Stop, then the line lost, each end a long wait at once with their message;
// later exchanges on the lost line fail at once too, without a crash.
TEST_P(ExchangeContract, StopOrALostLineEndsTheWaitAtOnce) {
  link->setReplyTimeout(20s);
  QTimer::singleShot(50, &session, [this] { session.requestStop(); });
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(Handshake(false));
  EXPECT_LT(clock.elapsed(), 2000);
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].text,
            QString("Operation interrupted by the user. Please wait for the Vpp LED to go off "
                    "before selecting another Command"));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  EXPECT_EQ(ui.busyDepth, 0);

  session.clearStop();
  ui.messages.clear();
  QTimer::singleShot(50, [this] { programmer->pullThePlug(); });
  clock.restart();
  EXPECT_FALSE(Handshake(true));
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_EQ(ui.texts(), QStringList{"The connection to the programmer on COM3 was lost."});
  ui.messages.clear();
  EXPECT_FALSE(Handshake(false));
  EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_P(ExchangeContract, StopPressedWhileEventsRunIsSeenInTheSamePass) {
  link->setReplyTimeout(20s);
  programmer->queueReply(QByteArray(), 0);
  ui.onProcessEvents = [this] { session.requestStop(); };
  // A character that is not the whole reply wakes the loop once.
  QTimer::singleShot(20, [this] { programmer->send(QByteArray(1, ACK)); });
  EXPECT_FALSE(Handshake(false));
  EXPECT_EQ(ui.processEventsCalls, 1);
}

TEST_P(ExchangeContract, HandshakeGivesUpAfterFiveAttemptsShowingTheLastError) {
  for (int i = 0; i < 5; ++i)
    programmer->queueReply(QByteArray(1, NAK) + ENQ + CR);
  EXPECT_FALSE(link->CommandHandshake(CommandPayload(CmdBlankCheck)));
  EXPECT_EQ(programmer->framesFromPc().size(), 5) << "a sixth attempt would meet silence";
  EXPECT_EQ(ui.texts(), QStringList{"Error at Slave : Missing ENQ Code."});
}

// A programmer that said nothing, or only its ACK, may be busy with what it
// got: the command or block is not sent again. A refusal or a garbled reply is,
// and the CR a refusal leaves behind is not read as the next attempt's reply.
TEST_P(ExchangeContract, HandshakeSendsAgainOnlyAfterARefusedOrGarbledReply) {
  for (const auto &[first, sentAgain] : {std::pair{QByteArray(), false},
                                         {QByteArray(1, ACK), false},
                                         {QByteArray(1, NAK), true},
                                         {QByteArray(1, NAK) + NUL + CR, true},
                                         {QByteArray("?\r"), true}}) {
    const qsizetype before = programmer->framesFromPc().size();
    ui.messages.clear();
    programmer->queueReply(first);
    if (sentAgain) // elsewhere a wrong second attempt meets silence and shows in the count
      programmer->queueReply(kAckReply);
    EXPECT_EQ(link->CommandHandshake(CommandPayload(CmdBlankCheck)), sentAgain)
        << first.toHex().toStdString();
    test::Settle();
    EXPECT_EQ(programmer->framesFromPc().size() - before, sentAgain ? 2 : 1)
        << first.toHex().toStdString();
    EXPECT_EQ(ui.texts().isEmpty(), sentAgain) << "the time-out message at once";
  }
}

// Opening a port asks its driver for low latency; a driver that refuses, as
// a pseudo-terminal's does, leaves the opening as it was.
TEST(QtSerialPortOpening, AsksForLowLatencyAndTakesARefusalSilently) {
  test::PtyPeer peer;
  QtSerialPort port;
  QList<bool> askedWhileOpen;
  port.setLowLatencyRequest([&](QSerialPort &line) {
    askedWhileOpen.append(line.isOpen());
    return false;
  });
  port.setPortName(peer.slavePath());
  ASSERT_TRUE(port.open()) << port.errorString().toStdString();
  EXPECT_EQ(askedWhileOpen, QList<bool>{true});
  EXPECT_TRUE(port.isOpen());
  EXPECT_EQ(port.openFailure(), OpenFailure::None);
  port.close();

  QSerialPort line(peer.slavePath());
  ASSERT_TRUE(line.open(QIODevice::ReadWrite));
  EXPECT_FALSE(RequestLowLatency(line)) << "a pseudo-terminal has no low-latency mode";
}

INSTANTIATE_TEST_SUITE_P(Ports, ExchangeContract,
                         ::testing::Values(PortKind::Loopback, PortKind::Pty),
                         [](const auto &info) {
                           return info.param == PortKind::Loopback ? "Loopback" : "Pty";
                         });

} // namespace
