#include "ChipSource.h"

#include "Globals.h"
#include "SqlScript.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <vector>

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

// Every device, or the one with the identifier when one is given.
QSqlQuery SelectDevices(QSqlDatabase &db, const QString &id = QString()) {
  QSqlQuery query(db);
  QString select = QStringLiteral("select m.*, r.MCURangeName, b.BrandName from MCUMaster m "
                                  "join RangeMaster r on r.MCURangeNumber = m.MCURangeNumber "
                                  "join BrandMaster b on b.BrandNumber = r.BrandNumber");
  if (!id.isNull())
    select += QStringLiteral(" where m.MCUIDNumber = ?");
  query.prepare(select);
  if (!id.isNull())
    query.addBindValue(id);
  query.exec();
  return query;
}

// The catalogue script the simulator is built with, run once into memory.
const std::vector<ChipModel> &BuiltInChips() {
  static const std::vector<ChipModel> chips = [] {
    std::vector<ChipModel> all;
    const QString connection = QUuid::createUuid().toString();
    {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
      db.setDatabaseName(QStringLiteral(":memory:"));
      QFile script(QStringLiteral(":/kvr/catalogue.sql"));
      if (db.open() && script.open(QIODevice::ReadOnly) &&
          RunSqlScript(db, QString::fromUtf8(script.readAll()))) {
        QSqlQuery query = SelectDevices(db);
        QString why;
        while (query.next())
          if (std::optional<ChipModel> chip =
                  ModelFromRow(query, query.value(QStringLiteral("MCUIDNumber")).toString(), why))
            all.push_back(*chip);
      }
    }
    QSqlDatabase::removeDatabase(connection);
    return all;
  }();
  return chips;
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
      QSqlQuery query = SelectDevices(db, id);
      if (!query.isActive())
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

std::optional<ChipModel> FindBuiltInChip(const QString &id) {
  for (const ChipModel &chip : BuiltInChips())
    if (chip.id == id)
      return chip;
  return std::nullopt;
}

QStringList BuiltInChipIds() {
  QStringList ids;
  for (const ChipModel &chip : BuiltInChips())
    ids << chip.id;
  return ids;
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
