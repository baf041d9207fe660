#include "Programmer.h"

namespace kvr::sim {

Programmer::Programmer(QObject *parent) : QObject(parent), firmware_(faults_, toPc_) {
  fromPc_.setSink([this](const QByteArray &bytes) { firmware_.feed(bytes); });
  // A stalled programmer leaves what the PC sends waiting on the line.
  firmware_.onStall([this](std::chrono::milliseconds time) { fromPc_.send(QByteArray(), time); });
  toPc_.setSink([this](const QByteArray &bytes) { adapter_.send(bytes); });
  adapter_.setSink([this](const QByteArray &bytes) {
    if (sendToPc)
      sendToPc(bytes);
  });
  toPc_.setCloseHandler([this] {
    if (unplug)
      unplug();
  });
}

Programmer::~Programmer() = default;

void Programmer::setLineRate(int baud) {
  toPc_.setLineRate(baud);
  fromPc_.setLineRate(baud);
}

} // namespace kvr::sim
