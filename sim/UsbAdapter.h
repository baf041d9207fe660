#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace kvr::sim {

// A USB-serial adapter between the programmer and the PC. The characters the
// programmer sends collect in the adapter's buffer and reach the PC in bursts:
// when its latency timer fires, which it does every period whether or not
// characters wait, or at once when the buffer is full. An FTDI chip holds 62
// characters and fires every 16 ms, or every 1 ms in low-latency mode.
class UsbAdapter : public QObject {
  Q_OBJECT
public:
  using Sink = std::function<void(const QByteArray &)>;
  static constexpr int kBufferSize = 62;

  explicit UsbAdapter(QObject *parent = nullptr);

  void setSink(Sink sink) { sink_ = std::move(sink); }
  // 0: no adapter, characters pass at once.
  void setLatency(std::chrono::milliseconds latency) { latency_ = latency; }
  std::chrono::milliseconds latency() const { return latency_; }

  void send(const QByteArray &bytes);
  bool idle() const { return held_.isEmpty(); }

private:
  void deliver(const QByteArray &bytes);
  void timerFired();

  Sink sink_;
  std::chrono::milliseconds latency_{0};
  QByteArray held_;
  QTimer timer_;
  QElapsedTimer clock_;
};

} // namespace kvr::sim
