#pragma once

#include "SerialPort.h"

#include <QSerialPort>

#include <functional>

namespace kvr {

// True for the slave side of a pseudo-terminal, such as the simulator's.
bool IsPseudoTerminal(const QString &location);

// Asks the driver of an open port for low-latency mode: on Linux
// ASYNC_LOW_LATENCY, with which FTDI and most USB-serial drivers drop their
// latency timer to 1 ms, so that a reply is not held back 16 ms at each
// turnaround. False when the driver refuses (a pseudo-terminal, a driver
// without it) or elsewhere than on Linux.
bool RequestLowLatency(QSerialPort &port);

// A real serial line (or a pseudo-terminal) through QSerialPort. The port is
// opened exclusively: two programs never share the programmer.
class QtSerialPort : public SerialPort {
  Q_OBJECT
public:
  using LowLatencyRequest = std::function<bool(QSerialPort &port)>;

  explicit QtSerialPort(QObject *parent = nullptr);

  // Asked on every opening; a refusal changes nothing and shows nothing.
  void setLowLatencyRequest(LowLatencyRequest request) { lowLatency_ = std::move(request); }

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
  LowLatencyRequest lowLatency_ = RequestLowLatency;
};

} // namespace kvr
