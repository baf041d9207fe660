#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace kvr {

// Line settings of the programmer: 19200 baud, even parity, 7 data bits, 1 stop bit.
inline const QString kPortSettings = QStringLiteral("19200, E, 7, 1");

// Why an opening failed, for the message the user gets.
enum class OpenFailure { None, InUse, NoPermission, NoSuchDevice, Other };

// The serial-port component as the link uses it.
class SerialPort : public QObject {
  Q_OBJECT
public:
  using QObject::QObject;

  virtual void setPortName(const QString &name) = 0;
  virtual QString portName() const = 0;
  // "baud, parity, data bits, stop bits"; false when the text is not understood.
  virtual bool setSettings(const QString &settings) = 0;
  virtual bool open() = 0;
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  // The bytes are on their way when this returns, not queued behind the event loop.
  virtual bool write(const QByteArray &bytes) = 0;
  virtual qint64 bytesWaiting() const = 0;
  virtual QByteArray read(qint64 maxCount) = 0;
  virtual void clearReceiveBuffer() = 0;
  // Why the last open or transfer failed, for messages.
  virtual QString errorString() const = 0;
  virtual OpenFailure openFailure() const = 0;

signals:
  void readyRead();
  // The line went away while open: adapter unplugged, peer closed.
  void connectionLost();
};

namespace SerialPortText {
inline const QString AlreadyOpen = QStringLiteral("The port is already open.");
} // namespace SerialPortText

// Parsed form of a settings text such as "19200, E, 7, 1".
struct LineSettings {
  int baud = 0;
  char parity = 'N'; // N, E, O, M, S
  int dataBits = 0;
  int stopBits = 0;
};
bool ParseLineSettings(const QString &text, LineSettings &out);

} // namespace kvr
