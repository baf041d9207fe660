#pragma once

#include "LoopbackPort.h"

#include <QByteArray>
#include <QList>

#include <deque>

namespace kvr::test {

// A programmer that answers each frame from the PC with the next reply of its
// script. Frames are split the way the line carries them: STX ... ETX|ETB BCC
// CR, or raw text up to CR.
class ScriptedPeerCore {
public:
  virtual ~ScriptedPeerCore() = default;

  struct Reply {
    QByteArray bytes;
    int delayMs = 0;
  };
  // An empty reply answers nothing (the programmer stays silent).
  void queueReply(const QByteArray &bytes, int delayMs = 0) {
    replies_.push_back({bytes, delayMs});
  }
  const QList<QByteArray> &framesFromPc() const { return frames_; }

  virtual void send(const QByteArray &bytes) = 0;
  virtual void pullThePlug() = 0;

protected:
  void bytesFromPc(const QByteArray &bytes);

private:
  QByteArray pending_;
  QList<QByteArray> frames_;
  std::deque<Reply> replies_;
};

class ScriptedPeer : public LinkPeer, public ScriptedPeerCore {
public:
  void receiveFromPc(const QByteArray &bytes) override { bytesFromPc(bytes); }
  void send(const QByteArray &bytes) override {
    if (sendToPc)
      sendToPc(bytes);
  }
  void pullThePlug() override {
    if (unplug)
      unplug();
  }
};

// Lets the bytes the PC wrote last reach the peer (the loopback delivers them
// from the event loop).
void Settle();

// A framed reply as the programmer sends it: STX, data, ETX (or ETB), BCC, CR.
QByteArray ProgrammerFrame(const QByteArray &data, bool moreBlocks = false);

} // namespace kvr::test
