#pragma once

#include <QList>
#include <QString>

namespace kvr {

class DatabaseHandlers;

// The catalogue as the device selection window shows it: brands with their
// ranges, and the devices of one range.
struct RangeNode {
  QString key; // "R" + range number
  QString name;
};
struct BrandNode {
  QString key; // "B" + brand number
  QString name;
  QList<RangeNode> ranges;
};
struct DeviceItem {
  QString key; // "M" + identifier
  QString model;
  QString sizeKb; // 4096 gives "4", 512 gives "0.5"
  QString lockBits;
  QString dip;
  QString plcc;
};

// Brands by name, each with its ranges by name; empty when the catalogue is not open.
QList<BrandNode> LoadGroups(const DatabaseHandlers &catalogue);
// Devices of one range by model; range 0 has none.
QList<DeviceItem> LoadMcuList(const DatabaseHandlers &catalogue, int rangeNumber);
// The range node key of a device ("R" + its range), empty for an unknown device.
QString RangeKeyOf(const DatabaseHandlers &catalogue, const QString &identifier);

} // namespace kvr
