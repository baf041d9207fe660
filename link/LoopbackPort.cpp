#include "LoopbackPort.h"

#include <QMetaObject>
#include <QPointer>

namespace kvr {

LoopbackPort::LoopbackPort(LinkPeer *peer, QObject *parent) : SerialPort(parent) { attach(peer); }

LoopbackPort::~LoopbackPort() { attach(nullptr); }

void LoopbackPort::attach(LinkPeer *peer) {
  if (peer_ && peer_->attachedTo == this) {
    peer_->sendToPc = nullptr;
    peer_->unplug = nullptr;
    peer_->attachedTo = nullptr;
  }
  peer_ = peer;
  lost_ = false;
  if (!peer_)
    return;
  peer_->attachedTo = this;
  peer_->sendToPc = [this](const QByteArray &bytes) { deliverToPc(bytes); };
  peer_->unplug = [this] { lineLost(); };
}

bool LoopbackPort::setSettings(const QString &settings) {
  LineSettings parsed;
  return ParseLineSettings(settings, parsed);
}

void LoopbackPort::setOpenFails(bool fails, OpenFailure why) {
  openFails_ = fails;
  failureToReport_ = why;
}

bool LoopbackPort::open() {
  openFailure_ = OpenFailure::None;
  if (open_) {
    openFailure_ = OpenFailure::InUse;
    error_ = SerialPortText::AlreadyOpen;
    return false;
  }
  if (openFails_ || lost_ || !peer_) {
    openFailure_ = openFails_ ? failureToReport_ : OpenFailure::NoSuchDevice;
    error_ = QStringLiteral("The port could not be opened.");
    return false;
  }
  open_ = true;
  return true;
}

void LoopbackPort::close() {
  open_ = false;
  received_.clear();
}

bool LoopbackPort::write(const QByteArray &bytes) {
  if (!open_ || lost_)
    return false;
  sent_.append(bytes);
  // Deliver from the event loop, as a real line would.
  QPointer<LoopbackPort> self(this);
  QMetaObject::invokeMethod(
      this,
      [self, bytes] {
        if (self && self->open_ && self->peer_)
          self->peer_->receiveFromPc(bytes);
      },
      Qt::QueuedConnection);
  return true;
}

QByteArray LoopbackPort::read(qint64 maxCount) {
  const QByteArray chunk = received_.left(maxCount);
  received_.remove(0, chunk.size());
  return chunk;
}

void LoopbackPort::deliverToPc(const QByteArray &bytes) {
  if (!open_ || lost_)
    return;
  received_.append(bytes);
  emit readyRead();
}

void LoopbackPort::lineLost() {
  if (lost_)
    return;
  lost_ = true;
  error_ = QStringLiteral("The device was removed.");
  // As a serial port does: the lost line is closed, so that every later
  // exchange sees it at once.
  if (open_) {
    open_ = false;
    emit connectionLost();
  }
}

} // namespace kvr
