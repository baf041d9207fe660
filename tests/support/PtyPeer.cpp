#include "PtyPeer.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace kvr::test {

PtyPeer::PtyPeer() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0)
    throw std::runtime_error("no pseudo-terminal");
  slavePath_ = QString::fromLocal8Bit(ptsname(master_));
  // Held open so the master never sees a hang-up between the PC's openings.
  slaveKeeper_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
  // Raw line on both sides until the PC sets its own settings.
  termios tio{};
  tcgetattr(master_, &tio);
  cfmakeraw(&tio);
  tcsetattr(master_, TCSANOW, &tio);
  notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &PtyPeer::readMaster);
}

PtyPeer::~PtyPeer() { pullThePlug(); }

void PtyPeer::send(const QByteArray &bytes) {
  if (master_ < 0)
    return;
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.constData() + done, bytes.size() - done);
    if (n < 0 && errno != EAGAIN && errno != EINTR)
      return;
    if (n > 0)
      done += n;
  }
}

void PtyPeer::pullThePlug() {
  notifier_.reset();
  if (master_ >= 0) {
    ::close(master_);
    master_ = -1;
  }
  if (slaveKeeper_ >= 0) {
    ::close(slaveKeeper_);
    slaveKeeper_ = -1;
  }
}

void PtyPeer::readMaster() {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0)
      break;
    bytesFromPc(QByteArray(buffer, n));
  }
}

} // namespace kvr::test
