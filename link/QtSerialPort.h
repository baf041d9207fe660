#pragma once

#include "SerialPort.h"

#include <QSerialPort>

namespace kvr {

// True for the slave side of a pseudo-terminal, such as the simulator's.
bool IsPseudoTerminal(const QString &location);

// A real serial line (or a pseudo-terminal) through QSerialPort. The port is
// opened exclusively: two programs never share the programmer.
class QtSerialPort : public SerialPort {
  Q_OBJECT
public:
  explicit QtSerialPort(QObject *parent = nullptr);

  void setPortName(const QString &name) override {
    location_ = name;
    port_.setPortName(name);
  }
  QString portName() const override { return location_; }
  bool setSettings(const QString &settings) override;
  bool open() override;
  void close() override;
  bool isOpen() const override { return port_.isOpen(); }
  bool write(const QByteArray &bytes) override;
  qint64 bytesWaiting() const override { return port_.bytesAvailable(); }
  QByteArray read(qint64 maxCount) override {
    return port_.isOpen() ? port_.read(maxCount) : QByteArray();
  }
  void clearReceiveBuffer() override;
  QString errorString() const override { return error_; }
  OpenFailure openFailure() const override { return openFailure_; }

private:
  void onError(QSerialPort::SerialPortError error);
  bool applySettings();
  OpenFailure ClassifyOpenFailure(QSerialPort::SerialPortError error) const;

  QString location_;
  QSerialPort port_;
  LineSettings settings_;
  QString error_;
  OpenFailure openFailure_ = OpenFailure::None;
  bool openedPseudoTerminal_ = false;
};

} // namespace kvr
