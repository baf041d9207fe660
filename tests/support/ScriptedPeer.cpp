#include "ScriptedPeer.h"

#include "BaseModule.h"

#include <QCoreApplication>
#include <QTimer>

namespace kvr::test {

using namespace BaseModule;

void ScriptedPeerCore::bytesFromPc(const QByteArray &bytes) {
  pending_.append(bytes);
  for (;;) {
    qsizetype end = -1;
    if (pending_.startsWith(STX)) {
      for (qsizetype i = 1; i < pending_.size(); ++i)
        if (pending_[i] == ETX || pending_[i] == ETB) {
          if (i + 2 < pending_.size())
            end = i + 2;
          break;
        }
    } else {
      end = pending_.indexOf(CR);
    }
    if (end < 0)
      return;
    frames_.append(pending_.left(end + 1));
    pending_.remove(0, end + 1);
    if (replies_.empty())
      continue;
    const Reply reply = replies_.front();
    replies_.pop_front();
    if (reply.bytes.isEmpty())
      continue;
    if (reply.delayMs > 0)
      QTimer::singleShot(reply.delayMs, [this, reply] { send(reply.bytes); });
    else
      send(reply.bytes);
  }
}

void Settle() {
  for (int i = 0; i < 3; ++i)
    QCoreApplication::processEvents();
}

QByteArray ProgrammerFrame(const QByteArray &data, bool moreBlocks) {
  const char end = moreBlocks ? ETB : ETX;
  char bcc = end;
  for (const char c : data)
    bcc ^= c;
  return QByteArray(1, STX) + data + end + bcc + CR;
}

} // namespace kvr::test
