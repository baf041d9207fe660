#include "PacedChannel.h"

#include <algorithm>
#include <cmath>

namespace kvr::sim {

PacedChannel::PacedChannel(QObject *parent) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &PacedChannel::pump);
  clock_.start();
}

void PacedChannel::send(const QByteArray &bytes, std::chrono::milliseconds pause) {
  if (closed_ || (bytes.isEmpty() && pause.count() <= 0))
    return;
  queue_.push_back({bytes, pause});
  pump();
}

void PacedChannel::close(std::chrono::milliseconds pause) {
  if (closed_)
    return;
  queue_.push_back({QByteArray(), pause, true});
  closed_ = true;
  pump();
}

void PacedChannel::pump() {
  // A sink may queue more; the running pass picks it up.
  if (pumping_ || timer_.isActive())
    return;
  pumping_ = true;
  while (!queue_.empty()) {
    Item &item = queue_.front();
    if (item.pause.count() > 0) {
      timer_.start(item.pause);
      item.pause = {};
      break;
    }
    if (item.close) {
      queue_.clear();
      if (closeHandler_)
        closeHandler_();
      break;
    }
    if (baud_ > 0 && !pumpPaced(item))
      break;
    const QByteArray bytes = item.bytes;
    queue_.pop_front();
    if (sink_ && !bytes.isEmpty())
      sink_(bytes);
  }
  pumping_ = false;
}

bool PacedChannel::pumpPaced(Item &item) {
  const double characterMs = 1000.0 * kBitsPerCharacter / baud_;
  const double now = clock_.nsecsElapsed() / 1e6;
  if (!item.started) {
    lineFreeAtMs_ = std::max(lineFreeAtMs_, now);
    item.started = true;
  }
  // Timers wake in whole milliseconds: a character that completes within
  // the next half millisecond goes now rather than a whole tick late, so the
  // rounding does not pile up over thousands of short replies.
  constexpr double kTimerSlackMs = 0.5;
  qsizetype carried = 0;
  while (carried < item.bytes.size() && lineFreeAtMs_ + characterMs <= now + kTimerSlackMs) {
    lineFreeAtMs_ += characterMs;
    ++carried;
  }
  if (carried == item.bytes.size())
    return true;
  const QByteArray done = item.bytes.left(carried);
  item.bytes.remove(0, carried);
  const auto wait = static_cast<int>(std::lround(lineFreeAtMs_ + characterMs - now));
  timer_.start(std::max(wait, 1));
  if (sink_ && !done.isEmpty())
    sink_(done);
  return false;
}

} // namespace kvr::sim
