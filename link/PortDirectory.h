#pragma once

#include <QList>
#include <QString>

#include <memory>

namespace kvr {

// One serial port of the machine, as the port dialog and kvr-cli show it.
struct PortInfo {
  QString path; // the device file, such as /dev/ttyUSB0
  QString description;
  QString manufacturer;
  QString serialNumber;
  bool hasUsbIds = false;
  quint16 vendorId = 0;
  quint16 productId = 0;
  // The stable name of a USB adapter, /dev/serial/by-id/usb-...; empty when
  // there is none. It names the same adapter whichever /dev path it gets.
  QString byIdPath;

  bool isUsb() const { return hasUsbIds || !byIdPath.isEmpty(); }
  // "0403:6001"; empty without USB ids.
  QString usbIds() const;
  // "FT232R USB UART (0403:6001)"
  QString descriptionText() const;
};

// The serial ports there are now. Adapters come and go: every call looks again.
class PortDirectory {
public:
  virtual ~PortDirectory() = default;
  virtual QList<PortInfo> ports() const = 0;
};

// The ports the system lists (QSerialPortInfo: USB adapters, and the UARTs
// that have hardware behind them), with their names in the by-id folder.
class SystemPortDirectory : public PortDirectory {
public:
  explicit SystemPortDirectory(QString byIdFolder = QStringLiteral("/dev/serial/by-id"))
      : byIdFolder_(std::move(byIdFolder)) {}
  QList<PortInfo> ports() const override;

private:
  QString byIdFolder_;
};

// Ports described in a file instead of the system's: tests, and lines the
// system does not list (pseudo-terminals). An INI file, one group per port
// with the keys path, description, manufacturer, serialNumber, vendorId and
// productId (hex) and byId; a missing file lists no port.
class ListedPortDirectory : public PortDirectory {
public:
  explicit ListedPortDirectory(QString file) : file_(std::move(file)) {}
  QList<PortInfo> ports() const override;
  static bool Write(const QString &file, const QList<PortInfo> &ports);

private:
  QString file_;
};

// The environment variable that names a port list to use in place of the system's.
inline constexpr char kPortListVariable[] = "KVR_SERIAL_PORTS";

// The list KVR_SERIAL_PORTS names when it is set, else the system's ports.
std::unique_ptr<PortDirectory> DefaultPortDirectory();

} // namespace kvr
