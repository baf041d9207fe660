#include "ChipSource.h"

#include "Globals.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace kvr::sim {

namespace {

bool HexByte(const QVariant &field, std::uint8_t &out) {
  bool ok = false;
  const QString text = field.toString().trimmed();
  const uint value = text.toUInt(&ok, 16);
  out = static_cast<std::uint8_t>(value);
  return ok && !text.isEmpty() && value <= 0xFF;
}

std::optional<ChipModel> ModelFromRow(const QSqlQuery &row, const QString &id, QString &why) {
  ChipModel model;
  model.id = id;
  model.model = row.value(QStringLiteral("MCUModel")).toString().trimmed();
  model.family = row.value(QStringLiteral("BrandName")).toString().trimmed() +
                 row.value(QStringLiteral("MCURangeName")).toString().trimmed();
  model.codeSize = row.value(QStringLiteral("MCUCodeROMSize")).toInt();
  model.lockBits = row.value(QStringLiteral("MCULockBits")).toInt();
  bool countOk = false;
  model.signatureCount = row.value(QStringLiteral("Sig_Byte_Count")).toString().toInt(&countOk);
  if (!countOk)
    model.signatureCount = 3;
  for (int i = 0; i < 8; ++i)
    if (!HexByte(row.value(QStringLiteral("MCUType_%1").arg(i)), model.typeBytes[i])) {
      why = QStringLiteral("MCUType_%1 is not two hex digits").arg(i);
      return std::nullopt;
    }
  for (int i = 0; i < 3; ++i)
    if (!HexByte(row.value(QStringLiteral("Sig_%1").arg(i + 1)), model.signature[i]))
      model.signature[i] = 0xFF; // a device without signature bytes
  if (model.codeSize < 1 || model.codeSize > BaseModule::SixtyFourKB) {
    why = QStringLiteral("code size %1 is outside 1 to 65536 bytes").arg(model.codeSize);
    return std::nullopt;
  }
  return model;
}

} // namespace

QString DefaultCatalogue() {
  return BaseModule::ApplicationFolder() + QStringLiteral("/Data/KVR104.sqlite");
}

std::optional<ChipModel> LoadCatalogueChip(const QString &file, const QString &id, QString *error) {
  QString why;
  std::optional<ChipModel> model;
  const QString connection = QUuid::createUuid().toString();
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!QFileInfo::exists(file)) {
      why = QStringLiteral("no catalogue %1").arg(file);
    } else if (!db.open()) {
      why = db.lastError().text();
    } else {
      QSqlQuery query(db);
      query.prepare(QStringLiteral(
          "select m.*, r.MCURangeName, b.BrandName from MCUMaster m "
          "join RangeMaster r on r.MCURangeNumber = m.MCURangeNumber "
          "join BrandMaster b on b.BrandNumber = r.BrandNumber where m.MCUIDNumber = ?"));
      query.addBindValue(id);
      if (!query.exec())
        why = query.lastError().text();
      else if (!query.next())
        why = QStringLiteral("the catalogue has no device \"%1\"").arg(id);
      else
        model = ModelFromRow(query, id, why);
    }
  }
  QSqlDatabase::removeDatabase(connection);
  if (!model && error)
    *error = QStringLiteral("%1: %2").arg(file, why);
  return model;
}

std::optional<ChipModel> FindChip(const QString &id, const QString &catalogue, QString *error) {
  if (!catalogue.isEmpty())
    return LoadCatalogueChip(catalogue, id, error);
  if (QFileInfo::exists(DefaultCatalogue()))
    return LoadCatalogueChip(DefaultCatalogue(), id, error);
  std::optional<ChipModel> model = FindBuiltInChip(id);
  if (!model && error)
    *error = QStringLiteral("no chip \"%1\"; without a catalogue the simulator knows %2")
                 .arg(id, BuiltInChipIds().join(QStringLiteral(", ")));
  return model;
}

} // namespace kvr::sim
