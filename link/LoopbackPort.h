#pragma once

#include "SerialPort.h"

#include <functional>

namespace kvr {

// What stands at the other end of a LoopbackPort: the simulator's firmware,
// or a scripted peer in tests.
class LinkPeer {
public:
  virtual ~LinkPeer() = default;
  // Bytes the PC wrote, delivered from the event loop, never inside write().
  virtual void receiveFromPc(const QByteArray &bytes) = 0;

  // Set by the port the peer is attached to.
  std::function<void(const QByteArray &)> sendToPc;
  std::function<void()> unplug;
  // The port the callbacks belong to; a peer moves to a new port when attached to it.
  const void *attachedTo = nullptr;
};

// A serial port wired to a peer in the same process: every operation runs
// byte for byte without hardware, deterministically.
class LoopbackPort : public SerialPort {
  Q_OBJECT
public:
  explicit LoopbackPort(LinkPeer *peer = nullptr, QObject *parent = nullptr);
  ~LoopbackPort() override;

  void attach(LinkPeer *peer);

  void setPortName(const QString &name) override { name_ = name; }
  QString portName() const override { return name_; }
  bool setSettings(const QString &settings) override;
  bool open() override;
  void close() override;
  bool isOpen() const override { return open_; }
  bool write(const QByteArray &bytes) override;
  qint64 bytesWaiting() const override { return received_.size(); }
  QByteArray read(qint64 maxCount) override;
  void clearReceiveBuffer() override { received_.clear(); }
  QString errorString() const override { return error_; }
  OpenFailure openFailure() const override { return openFailure_; }

  // Test controls: whether open() succeeds, and everything the PC sent.
  void setOpenFails(bool fails, OpenFailure why = OpenFailure::InUse);
  const QByteArray &sentBytes() const { return sent_; }
  void clearSentBytes() { sent_.clear(); }

private:
  void deliverToPc(const QByteArray &bytes);
  void lineLost();

  LinkPeer *peer_ = nullptr;
  QString name_;
  bool open_ = false;
  bool openFails_ = false;
  OpenFailure openFailure_ = OpenFailure::None;
  OpenFailure failureToReport_ = OpenFailure::InUse;
  bool lost_ = false;
  QString error_;
  QByteArray received_;
  QByteArray sent_;
};

} // namespace kvr
