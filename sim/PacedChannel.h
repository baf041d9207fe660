#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <deque>
#include <functional>

namespace kvr::sim {

// One direction of the line: characters leave in the order they were queued,
// each chunk after its pause, and with a line rate set no character arrives
// before the line could have carried it. Waiting is done by a timer, so the
// event loop keeps running. Without rate and pauses a chunk goes out at once.
class PacedChannel : public QObject {
  Q_OBJECT
public:
  using Sink = std::function<void(const QByteArray &)>;

  explicit PacedChannel(QObject *parent = nullptr);

  void setSink(Sink sink) { sink_ = std::move(sink); }
  // Called once the queue reaches a close().
  void setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }
  // Baud rate with 10 bits a character (start, 7 data, parity, stop); 0: no pacing.
  void setLineRate(int baud) { baud_ = baud; }
  int lineRate() const { return baud_; }

  void send(const QByteArray &bytes, std::chrono::milliseconds pause = {});
  // Ends the line once everything queued before it has gone; later sends are dropped.
  void close(std::chrono::milliseconds pause = {});
  bool idle() const { return queue_.empty(); }

  static constexpr int kBitsPerCharacter = 10;

private:
  struct Item {
    QByteArray bytes;
    std::chrono::milliseconds pause;
    bool close = false;
    bool started = false;
  };
  void pump();
  // Sends what the line has carried of the front item by now; false when the
  // rest must wait.
  bool pumpPaced(Item &item);

  Sink sink_;
  std::function<void()> closeHandler_;
  std::deque<Item> queue_;
  QTimer timer_;
  QElapsedTimer clock_;
  double lineFreeAtMs_ = 0;
  int baud_ = 0;
  bool pumping_ = false;
  bool closed_ = false;
};

} // namespace kvr::sim
