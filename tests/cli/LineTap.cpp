#include "LineTap.h"

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace kvr::test {

namespace {
void MakeRaw(int fd) {
  termios tio{};
  tcgetattr(fd, &tio);
  cfmakeraw(&tio);
  tcsetattr(fd, TCSANOW, &tio);
}
} // namespace

LineTap::LineTap(const QString &programmerPath) {
  pcSide_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (pcSide_ < 0 || grantpt(pcSide_) != 0 || unlockpt(pcSide_) != 0)
    throw std::runtime_error("no pseudo-terminal");
  pcPath_ = QString::fromLocal8Bit(ptsname(pcSide_));
  // Held open so that the tap never sees a hang-up between the PC's openings.
  pcKeeper_ = ::open(ptsname(pcSide_), O_RDWR | O_NOCTTY);
  MakeRaw(pcSide_);
  programmerSide_ =
      ::open(programmerPath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (programmerSide_ < 0)
    throw std::runtime_error("cannot open the programmer's terminal");
  MakeRaw(programmerSide_);
  pcNotifier_ = std::make_unique<QSocketNotifier>(pcSide_, QSocketNotifier::Read);
  connect(pcNotifier_.get(), &QSocketNotifier::activated, this,
          [this] { Forward(pcSide_, programmerSide_, true); });
  programmerNotifier_ = std::make_unique<QSocketNotifier>(programmerSide_, QSocketNotifier::Read);
  connect(programmerNotifier_.get(), &QSocketNotifier::activated, this,
          [this] { Forward(programmerSide_, pcSide_, false); });
}

LineTap::~LineTap() {
  pcNotifier_.reset();
  programmerNotifier_.reset();
  for (int fd : {pcSide_, pcKeeper_, programmerSide_})
    if (fd >= 0)
      ::close(fd);
}

void LineTap::Forward(int from, int to, bool fromPc) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n <= 0)
      return;
    if (fromPc)
      fromPc_.append(buffer, n);
    for (ssize_t done = 0; done < n;) {
      const ssize_t written = ::write(to, buffer + done, n - done);
      if (written < 0 && errno != EAGAIN && errno != EINTR)
        return;
      if (written > 0)
        done += written;
    }
  }
}

} // namespace kvr::test
