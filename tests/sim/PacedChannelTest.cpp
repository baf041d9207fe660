// The line rate: no character arrives before the line could have carried it.
#include "PacedChannel.h"
#include "UsbAdapter.h"

#include <QCoreApplication>
#include <QElapsedTimer>

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
