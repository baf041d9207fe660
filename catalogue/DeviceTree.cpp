#include "DeviceTree.h"

#include "DatabaseHandlers.h"

#include <QSqlQuery>
#include <QVariant>

namespace kvr {

QList<BrandNode> LoadGroups(const DatabaseHandlers &catalogue) {
  QList<BrandNode> brands;
  if (!catalogue.IsOpen())
    return brands;
  QSqlQuery brandRows = catalogue.Select(CatalogueQueries::BrandsByName);
  while (brandRows.next())
    brands.append({QStringLiteral("B") + brandRows.value("BrandNumber").toString(),
                   brandRows.value("BrandName").toString().trimmed(),
                   {}});
  QSqlQuery rangeRows = catalogue.Select(CatalogueQueries::RangesByName);
  while (rangeRows.next()) {
    const QString brandKey = QStringLiteral("B") + rangeRows.value("BrandNumber").toString();
    for (BrandNode &brand : brands)
      if (brand.key == brandKey)
        brand.ranges.append({QStringLiteral("R") + rangeRows.value("MCURangeNumber").toString(),
                             rangeRows.value("MCURangeName").toString().trimmed()});
  }
  return brands;
}

QList<DeviceItem> LoadMcuList(const DatabaseHandlers &catalogue, int rangeNumber) {
  QList<DeviceItem> devices;
  if (!catalogue.IsOpen())
    return devices;
  QSqlQuery rows = catalogue.Select(CatalogueQueries::DevicesOfRange, {rangeNumber});
  while (rows.next())
    devices.append({QStringLiteral("M") + rows.value("MCUIDNumber").toString(),
                    rows.value("MCUModel").toString(),
                    QString::number(rows.value("MCUCodeROMSize").toDouble() / 1024.0, 'g', 12),
                    rows.value("MCULockBits").toString(),
                    rows.value("DIP(Pins+Package)").toString(),
                    rows.value("PLCC(Pins+Package)").toString()});
  return devices;
}

QString RangeKeyOf(const DatabaseHandlers &catalogue, const QString &identifier) {
  const QString range =
      catalogue.LookupField(QStringLiteral("MCUMaster"), QStringLiteral("MCURangeNumber"),
                            QStringLiteral("MCUIDNumber"), identifier);
  return range.isEmpty() ? QString() : QStringLiteral("R") + range;
}

} // namespace kvr
