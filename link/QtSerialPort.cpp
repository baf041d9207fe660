#include "QtSerialPort.h"

#include <QFileInfo>

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

namespace kvr {

namespace {
constexpr int kDrainTimeoutMs = 500;
} // namespace

bool IsPseudoTerminal(const QString &location) {
  return QFileInfo(location).canonicalFilePath().startsWith(QStringLiteral("/dev/pts/"));
}

bool RequestLowLatency(QSerialPort &port) {
#ifdef Q_OS_LINUX
  const int fd = static_cast<int>(port.handle());
  serial_struct serial{};
  if (fd < 0 || ::ioctl(fd, TIOCGSERIAL, &serial) != 0)
    return false;
  if (serial.flags & ASYNC_LOW_LATENCY)
    return true;
  serial.flags |= ASYNC_LOW_LATENCY;
  return ::ioctl(fd, TIOCSSERIAL, &serial) == 0;
#else
  Q_UNUSED(port);
  return false;
#endif
}

QtSerialPort::QtSerialPort(QObject *parent) : SerialPort(parent) {
  ParseLineSettings(kPortSettings, settings_);
  connect(&port_, &QSerialPort::readyRead, this, &SerialPort::readyRead);
  connect(&port_, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

bool QtSerialPort::setSettings(const QString &settings) {
  LineSettings parsed;
  if (!ParseLineSettings(settings, parsed)) {
    error_ = QStringLiteral("Unknown port settings \"%1\".").arg(settings);
    return false;
  }
  settings_ = parsed;
  return !port_.isOpen() || applySettings();
}

bool QtSerialPort::applySettings() {
  QSerialPort::Parity parity = QSerialPort::NoParity;
  switch (settings_.parity) {
  case 'E': parity = QSerialPort::EvenParity; break;
  case 'O': parity = QSerialPort::OddParity; break;
  case 'M': parity = QSerialPort::MarkParity; break;
  case 'S': parity = QSerialPort::SpaceParity; break;
  default: break;
  }
  bool ok = port_.setBaudRate(settings_.baud);
  const bool characterSet =
      port_.setDataBits(static_cast<QSerialPort::DataBits>(settings_.dataBits)) &&
      port_.setParity(parity);
  // A pseudo-terminal (the simulator) refuses 7-bit characters and parity;
  // it carries every character unchanged, so 8 bits without parity serve.
  if (!characterSet && IsPseudoTerminal(location_))
    ok = ok && port_.setDataBits(QSerialPort::Data8) && port_.setParity(QSerialPort::NoParity);
  else
    ok = ok && characterSet;
  ok = ok &&
       port_.setStopBits(settings_.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
       port_.setFlowControl(QSerialPort::NoFlowControl);
  if (!ok)
    error_ = port_.errorString();
  return ok;
}

bool QtSerialPort::open() {
  error_.clear();
  openFailure_ = OpenFailure::None;
  if (port_.isOpen()) {
    openFailure_ = OpenFailure::InUse;
    error_ = SerialPortText::AlreadyOpen;
    return false;
  }
  // QSerialPort takes a lock file and TIOCEXCL on Unix: a port held by
  // another program fails here.
  if (!port_.open(QIODevice::ReadWrite)) {
    error_ = port_.errorString();
    openFailure_ = ClassifyOpenFailure(port_.error());
    return false;
  }
  if (!applySettings()) {
    openFailure_ = OpenFailure::Other;
    port_.close();
    return false;
  }
  // Asked now: the terminal's path is gone once its other end has closed.
  openedPseudoTerminal_ = IsPseudoTerminal(location_);
  if (lowLatency_)
    lowLatency_(port_);
  return true;
}

OpenFailure QtSerialPort::ClassifyOpenFailure(QSerialPort::SerialPortError error) const {
  const QFileInfo device(location_);
  switch (error) {
  case QSerialPort::DeviceNotFoundError: return OpenFailure::NoSuchDevice;
  case QSerialPort::PermissionError:
    // The same error stands for "held by another program" and "not allowed".
    if (!device.exists())
      return OpenFailure::NoSuchDevice;
    return device.isWritable() ? OpenFailure::InUse : OpenFailure::NoPermission;
  default: return device.exists() ? OpenFailure::Other : OpenFailure::NoSuchDevice;
  }
}

void QtSerialPort::close() {
  if (!port_.isOpen())
    return;
  // QSerialPort sends from the event loop: what is still queued (the closing
  // ACK of the last exchange) goes out before the port closes.
  if (port_.bytesToWrite() > 0)
    port_.waitForBytesWritten(kDrainTimeoutMs);
  port_.close();
}

bool QtSerialPort::write(const QByteArray &bytes) {
  if (!port_.isOpen())
    return false;
  if (port_.write(bytes) != bytes.size()) {
    error_ = port_.errorString();
    return false;
  }
  // QSerialPort would send only once the event loop runs again, which a
  // program waiting for its user or ending does not do: a closing ACK must be
  // on the line before either.
  port_.flush();
  if (port_.bytesToWrite() > 0)
    port_.waitForBytesWritten(kDrainTimeoutMs);
  return true;
}

void QtSerialPort::clearReceiveBuffer() {
  if (!port_.isOpen())
    return;
  // Take what has already reached us too, not just what the driver holds.
  port_.clear(QSerialPort::Input);
  port_.readAll();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  if (error == QSerialPort::NoError)
    return;
  error_ = port_.errorString();
  // A pseudo-terminal whose other end closed (the simulator ended) reads as
  // end of file, which QSerialPort reports as a read error again and again.
  const bool peerClosed = error == QSerialPort::ReadError && openedPseudoTerminal_;
  if (error == QSerialPort::ResourceError || error == QSerialPort::PermissionError || peerClosed) {
    if (port_.isOpen()) {
      port_.close();
      emit connectionLost();
    }
  }
}

} // namespace kvr
