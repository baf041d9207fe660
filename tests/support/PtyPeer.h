#pragma once

#include "ScriptedPeer.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace kvr::test {

// A scripted programmer on the master side of a pseudo-terminal: the PC opens
// slavePath() through QSerialPort, as a user's program opens a real port.
class PtyPeer : public QObject, public ScriptedPeerCore {
  Q_OBJECT
public:
  PtyPeer();
  ~PtyPeer() override;

  QString slavePath() const { return slavePath_; }
  void send(const QByteArray &bytes) override;
  void pullThePlug() override;

private:
  void readMaster();

  int master_ = -1;
  int slaveKeeper_ = -1;
  QString slavePath_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace kvr::test
