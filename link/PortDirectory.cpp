#include "PortDirectory.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>
#include <QSettings>

namespace kvr {

namespace {
QString UsbId(quint16 id) { return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0')); }
} // namespace

QString PortInfo::usbIds() const {
  return hasUsbIds ? UsbId(vendorId) + QLatin1Char(':') + UsbId(productId) : QString();
}

QString PortInfo::descriptionText() const {
  return hasUsbIds ? QStringLiteral("%1 (%2)").arg(description, usbIds()).trimmed() : description;
}

QList<PortInfo> SystemPortDirectory::ports() const {
  // udev's by-id links, by the device they lead to.
  QHash<QString, QString> byIdOfDevice;
  const QDir byId(byIdFolder_);
  for (const QFileInfo &link :
       byId.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
    byIdOfDevice.insert(link.canonicalFilePath(), link.absoluteFilePath());

  QList<PortInfo> found;
  for (const QSerialPortInfo &system : QSerialPortInfo::availablePorts()) {
    PortInfo port;
    port.path = system.systemLocation();
    port.description = system.description();
    port.manufacturer = system.manufacturer();
    port.serialNumber = system.serialNumber();
    port.hasUsbIds = system.hasVendorIdentifier() && system.hasProductIdentifier();
    port.vendorId = system.vendorIdentifier();
    port.productId = system.productIdentifier();
    port.byIdPath = byIdOfDevice.value(QFileInfo(port.path).canonicalFilePath());
    found.append(port);
  }
  return found;
}

QList<PortInfo> ListedPortDirectory::ports() const {
  QList<PortInfo> listed;
  if (!QFileInfo::exists(file_))
    return listed;
  QSettings file(file_, QSettings::IniFormat);
  for (const QString &group : file.childGroups()) {
    file.beginGroup(group);
    PortInfo port;
    port.path = file.value(QStringLiteral("path")).toString();
    port.description = file.value(QStringLiteral("description")).toString();
    port.manufacturer = file.value(QStringLiteral("manufacturer")).toString();
    port.serialNumber = file.value(QStringLiteral("serialNumber")).toString();
    bool vendorOk = false;
    bool productOk = false;
    port.vendorId = file.value(QStringLiteral("vendorId")).toString().toUShort(&vendorOk, 16);
    port.productId = file.value(QStringLiteral("productId")).toString().toUShort(&productOk, 16);
    port.hasUsbIds = vendorOk && productOk;
    port.byIdPath = file.value(QStringLiteral("byId")).toString();
    file.endGroup();
    if (!port.path.isEmpty())
      listed.append(port);
  }
  return listed;
}

bool ListedPortDirectory::Write(const QString &file, const QList<PortInfo> &ports) {
  QFile::remove(file);
  QSettings out(file, QSettings::IniFormat);
  for (int i = 0; i < ports.size(); ++i) {
    const PortInfo &port = ports[i];
    out.beginGroup(QStringLiteral("port%1").arg(i + 1));
    out.setValue(QStringLiteral("path"), port.path);
    out.setValue(QStringLiteral("description"), port.description);
    out.setValue(QStringLiteral("manufacturer"), port.manufacturer);
    out.setValue(QStringLiteral("serialNumber"), port.serialNumber);
    if (port.hasUsbIds) {
      out.setValue(QStringLiteral("vendorId"), UsbId(port.vendorId));
      out.setValue(QStringLiteral("productId"), UsbId(port.productId));
    }
    out.setValue(QStringLiteral("byId"), port.byIdPath);
    out.endGroup();
  }
  out.sync();
  return out.status() == QSettings::NoError;
}

std::unique_ptr<PortDirectory> DefaultPortDirectory() {
  if (qEnvironmentVariableIsSet(kPortListVariable))
    return std::make_unique<ListedPortDirectory>(qEnvironmentVariable(kPortListVariable));
  return std::make_unique<SystemPortDirectory>();
}

} // namespace kvr
