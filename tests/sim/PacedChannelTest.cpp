// The line rate: no character arrives before the line could have carried it;
// the terminal the simulator serves its line on.
#include "PacedChannel.h"
#include "Programmer.h"
#include "PtyServer.h"
#include "UsbAdapter.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace kvr::sim;

TEST(PacedChannel, CharactersArriveNoFasterThanTheLineCarriesThem) {
  QElapsedTimer clock;
  clock.start();
  PacedChannel channel;
  int received = 0;
  channel.setSink([&](const QByteArray &bytes) {
    received += static_cast<int>(bytes.size());
    // 1200 baud, 10 bits a character: the nth character by n * 8.33 ms.
    EXPECT_GE(clock.elapsed() + 1, received * 10 * 1000 / 1200) << received;
  });
  channel.setLineRate(1200);
  channel.send(QByteArray(12, 'x'));
  channel.send("end");
  EXPECT_EQ(received, 0) << "not even the first character at once";
  while (!channel.idle() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  EXPECT_EQ(received, 15);
  EXPECT_GE(clock.elapsed(), 124);
}

// A USB-serial adapter holds the characters back until its latency timer
// fires, or hands them on at once when its buffer is full.
TEST(UsbAdapter, HandsOnFullBuffersAtOnceAndTheRestInOneBurst) {
  UsbAdapter adapter;
  QList<int> bursts;
  adapter.setSink([&](const QByteArray &bytes) { bursts.append(static_cast<int>(bytes.size())); });
  adapter.send(QByteArray(3, 'x'));
  EXPECT_EQ(bursts, QList<int>{3}) << "no latency set: no adapter, at once";
  bursts.clear();
  adapter.setLatency(std::chrono::milliseconds(20));
  adapter.send(QByteArray(3, 'x'));
  adapter.send(QByteArray(70, 'x'));
  EXPECT_EQ(bursts, QList<int>{UsbAdapter::kBufferSize});
  QElapsedTimer clock;
  clock.start();
  while (!adapter.idle() && clock.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  EXPECT_EQ(bursts, (QList<int>{UsbAdapter::kBufferSize, 73 - UsbAdapter::kBufferSize}));
}

// A PC that reads late: what the terminal cannot take yet waits in the
// server and follows once the PC has read, with nothing lost.
TEST(PtyServer, HoldsWhatTheTerminalCannotTakeAndSendsItWhenItCan) {
  Programmer programmer;
  PtyServer server(programmer);
  QString error;
  ASSERT_TRUE(server.open(&error)) << error.toStdString();
  const int pc =
      ::open(server.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_GE(pc, 0);
  const QByteArray sent(1 << 20, 'x'); // more than a terminal holds
  programmer.sendToPc(sent);
  QByteArray received;
  QElapsedTimer clock;
  clock.start();
  while (received.size() < sent.size() && clock.elapsed() < 5000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    char buffer[65536];
    const ssize_t n = ::read(pc, buffer, sizeof buffer);
    if (n > 0)
      received.append(buffer, n);
  }
  ::close(pc);
  EXPECT_EQ(received.size(), sent.size());
}
