#include "UsbAdapter.h"

#include <algorithm>

namespace kvr::sim {

UsbAdapter::UsbAdapter(QObject *parent) : QObject(parent) {
  timer_.setSingleShot(true);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &UsbAdapter::timerFired);
  clock_.start();
}

void UsbAdapter::deliver(const QByteArray &bytes) {
  if (sink_ && !bytes.isEmpty())
    sink_(bytes);
}

void UsbAdapter::send(const QByteArray &bytes) {
  if (latency_.count() <= 0)
    return deliver(bytes);
  held_.append(bytes);
  while (held_.size() >= kBufferSize) {
    const QByteArray full = held_.left(kBufferSize);
    held_.remove(0, kBufferSize);
    deliver(full);
  }
  if (held_.isEmpty() || timer_.isActive())
    return;
  // The timer runs on its own period; characters wait for its next firing.
  const qint64 period = latency_.count();
  const qint64 untilNextFiring = period - clock_.elapsed() % period;
  timer_.start(static_cast<int>(std::max<qint64>(untilNextFiring, 1)));
}

void UsbAdapter::timerFired() {
  const QByteArray burst = held_;
  held_.clear();
  deliver(burst);
}

} // namespace kvr::sim
