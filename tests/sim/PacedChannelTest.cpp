// The line rate: no character arrives before the line could have carried it.
#include "PacedChannel.h"

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
