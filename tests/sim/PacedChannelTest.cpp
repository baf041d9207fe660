// One direction of the line: order, pauses, the line rate and the close.
#include "PacedChannel.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace kvr::sim;
using namespace std::chrono_literals;

namespace {

struct Arrival {
  QByteArray bytes;
  qint64 atMs;
};

class Channel : public ::testing::Test {
protected:
  void SetUp() override {
    clock.start();
    channel.setSink([this](const QByteArray &bytes) { arrived.append({bytes, clock.elapsed()}); });
    channel.setCloseHandler([this] { closedAtMs = clock.elapsed(); });
  }
  QByteArray all() const {
    QByteArray bytes;
    for (const Arrival &a : arrived)
      bytes.append(a.bytes);
    return bytes;
  }
  void runUntilIdle() {
    while (!channel.idle() && clock.elapsed() < 5000)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
  }

  QElapsedTimer clock;
  PacedChannel channel;
  QList<Arrival> arrived;
  qint64 closedAtMs = -1;
};

TEST_F(Channel, WithoutRateOrPauseBytesLeaveAtOnce) {
  channel.send("ab");
  channel.send("c");
  EXPECT_EQ(all(), QByteArray("abc"));
  EXPECT_TRUE(channel.idle());
}

TEST_F(Channel, APauseHoldsBackEverythingQueuedAfterIt) {
  channel.send("late", 40ms);
  channel.send("next");
  EXPECT_TRUE(arrived.isEmpty());
  runUntilIdle();
  EXPECT_EQ(all(), QByteArray("latenext"));
  EXPECT_GE(arrived.first().atMs, 40);
}

TEST_F(Channel, NoCharacterArrivesBeforeTheLineCouldCarryIt) {
  channel.setLineRate(1200); // 10 bits a character: 8.33 ms each
  channel.send(QByteArray(12, 'x'));
  EXPECT_TRUE(all().isEmpty()) << "not even the first character at once";
  runUntilIdle();
  EXPECT_EQ(all(), QByteArray(12, 'x'));
  EXPECT_GE(arrived.last().atMs, 99);
  // Arrivals never run ahead of the line: n characters by n * 8.33 ms.
  int count = 0;
  for (const Arrival &a : arrived) {
    count += a.bytes.size();
    EXPECT_GE(a.atMs + 1, count * 1000 * 10 / 1200) << count;
  }
}

TEST_F(Channel, CloseComesAfterWhatWasQueuedAndEndsTheChannel) {
  channel.send("last", 20ms);
  channel.close();
  channel.send("never");
  runUntilIdle();
  EXPECT_EQ(all(), QByteArray("last"));
  EXPECT_GE(closedAtMs, arrived.last().atMs);
}

} // namespace
