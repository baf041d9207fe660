#include "PtyServer.h"

#include "Programmer.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace kvr::sim {

namespace {

QString SystemError(const char *what) {
  return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
}

} // namespace

PtyServer::PtyServer(Programmer &programmer, QObject *parent)
    : QObject(parent), programmer_(programmer) {}

PtyServer::~PtyServer() {
  removeLink();
  close();
}

bool PtyServer::open(QString *error) {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    if (error)
      *error = SystemError("no pseudo-terminal");
    close();
    return false;
  }
  slavePath_ = QString::fromLocal8Bit(ptsname(master_));
  // Held open so that the PC closing and reopening the port never hangs up
  // the master side.
  slaveKeeper_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
  termios tio{};
  if (slaveKeeper_ < 0 || tcgetattr(slaveKeeper_, &tio) != 0) {
    if (error)
      *error = SystemError("cannot hold the terminal open");
    close();
    return false;
  }
  // Raw: every character passes unchanged, no echo, no line editing.
  cfmakeraw(&tio);
  tcsetattr(slaveKeeper_, TCSANOW, &tio);

  readNotifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  connect(readNotifier_.get(), &QSocketNotifier::activated, this, &PtyServer::readMaster);
  writeNotifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Write);
  writeNotifier_->setEnabled(false);
  connect(writeNotifier_.get(), &QSocketNotifier::activated, this, &PtyServer::writePending);

  programmer_.sendToPc = [this](const QByteArray &bytes) { queueForPc(bytes); };
  programmer_.unplug = [this] { unplugLater(); };
  return true;
}

bool PtyServer::makeLink(const QString &path, QString *error) {
  const QFileInfo existing(path);
  if (existing.isSymLink()) {
    QFile::remove(path); // left behind by a run that did not end cleanly
  } else if (existing.exists()) {
    if (error)
      *error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
    return false;
  }
  if (::symlink(slavePath_.toLocal8Bit().constData(), path.toLocal8Bit().constData()) != 0) {
    if (error)
      *error = SystemError("cannot make the link");
    return false;
  }
  linkPath_ = path;
  return true;
}

void PtyServer::removeLink() {
  if (linkPath_.isEmpty())
    return;
  if (QFileInfo(linkPath_).symLinkTarget() == slavePath_)
    QFile::remove(linkPath_);
  linkPath_.clear();
}

void PtyServer::unplugLater() {
  // Called from within a read of the master: the notifiers go once it returns.
  programmer_.sendToPc = nullptr;
  programmer_.unplug = nullptr;
  pendingOut_.clear();
  unplugged_ = true;
  readNotifier_->setEnabled(false);
  writeNotifier_->setEnabled(false);
  QMetaObject::invokeMethod(
      this,
      [this] {
        close();
        emit lineClosed();
      },
      Qt::QueuedConnection);
}

void PtyServer::close() {
  readNotifier_.reset();
  writeNotifier_.reset();
  programmer_.sendToPc = nullptr;
  programmer_.unplug = nullptr;
  pendingOut_.clear();
  if (master_ >= 0)
    ::close(master_);
  if (slaveKeeper_ >= 0)
    ::close(slaveKeeper_);
  master_ = slaveKeeper_ = -1;
}

void PtyServer::readMaster() {
  if (unplugged_)
    return;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0)
      return; // EAGAIN: all read
    programmer_.receiveFromPc(QByteArray(buffer, n));
    if (unplugged_)
      return;
  }
}

void PtyServer::queueForPc(const QByteArray &bytes) {
  pendingOut_.append(bytes);
  writePending();
}

void PtyServer::writePending() {
  while (!pendingOut_.isEmpty() && master_ >= 0 && !unplugged_) {
    const ssize_t n = ::write(master_, pendingOut_.constData(), pendingOut_.size());
    if (n > 0) {
      pendingOut_.remove(0, n);
      continue;
    }
    if (n < 0 && errno == EINTR)
      continue;
    break; // the terminal is full: wait until it can take more
  }
  if (writeNotifier_)
    writeNotifier_->setEnabled(!pendingOut_.isEmpty());
}

} // namespace kvr::sim
