#include "DatabaseHandlers.h"

#include "Session.h"
#include "Ui.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QStandardPaths>
#include <QStringList>

#include <array>
#include <atomic>
#include <optional>

namespace kvr {

namespace {

// SQLite keeps no password; the value stays with the connection for an engine that does.
const QString CataloguePassword = QStringLiteral("MaVeN KoRaL");
const QString ReadOnlyOption = QStringLiteral("QSQLITE_OPEN_READONLY");
const QString TempImageName = QStringLiteral("$KVR104Temp.Bin");

const QString SetOneTip = QStringLiteral("update StartTip set Tip=? where ID=?");
const QString SetAllTips = QStringLiteral("update StartTip set Tip=?");

constexpr int StartTipRows = 4;
using Switches = std::array<bool, StartTipRows>;

// The tables and fields the program reads; a catalogue without any of them is unusable.
struct TableFields {
  QString table;
  QStringList fields;
};
const std::array<TableFields, 4> TablesRead{{
    {QStringLiteral("BrandMaster"), {QStringLiteral("BrandNumber"), QStringLiteral("BrandName")}},
    {QStringLiteral("RangeMaster"),
     {QStringLiteral("MCURangeNumber"), QStringLiteral("MCURangeName"),
      QStringLiteral("BrandNumber")}},
    {QStringLiteral("MCUMaster"),
     {QStringLiteral("MCUIDNumber"), QStringLiteral("MCUModel"), QStringLiteral("MCUCodeROMSize"),
      QStringLiteral("MCULockBits"), QStringLiteral("MCURangeNumber"),
      QStringLiteral("DIP(Pins+Package)"), QStringLiteral("PLCC(Pins+Package)"),
      QStringLiteral("MCUType_0"), QStringLiteral("MCUType_1"), QStringLiteral("MCUType_2"),
      QStringLiteral("MCUType_3"), QStringLiteral("MCUType_4"), QStringLiteral("MCUType_5"),
      QStringLiteral("MCUType_6"), QStringLiteral("MCUType_7"), QStringLiteral("Sig_Byte_Count"),
      QStringLiteral("Sig_1"), QStringLiteral("Sig_2"), QStringLiteral("Sig_3")}},
    {QStringLiteral("StartTip"), {QStringLiteral("ID"), QStringLiteral("Tip")}},
}};

// SQLITE_CORRUPT and SQLITE_NOTADB: the file is there but holds no usable database.
bool IsDamaged(const QSqlError &error) {
  const QString code = error.nativeErrorCode();
  return code == QLatin1String("11") || code == QLatin1String("26");
}

// Read-only when we may not write it, when it is marked read-only (root may write anything,
// but a file so marked is not meant to change), or when SQLite may not put its journal
// beside it.
bool IsReadOnly(const QFileInfo &file) {
  return !file.isWritable() || !(file.permissions() & QFileDevice::WriteOwner) ||
         !QFileInfo(file.absolutePath()).isWritable();
}

std::optional<Switches> ReadSwitches(const QString &path, const QString &driverName,
                                     const QString &connectionName) {
  std::optional<Switches> switches;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(driverName, connectionName);
    db.setDatabaseName(path);
    db.setConnectOptions(ReadOnlyOption);
    QSqlQuery query(db);
    if (db.open() && query.exec(CatalogueQueries::StartTips)) {
      Switches read;
      read.fill(true);
      for (int n = 0; n < StartTipRows && query.next(); ++n)
        read[n] = query.value(QStringLiteral("Tip")).toBool();
      switches = read;
    }
  }
  QSqlDatabase::removeDatabase(connectionName);
  return switches;
}

struct OpenFailure {
  CatalogueError error;
  QString detail;
};

std::optional<OpenFailure> CheckTablesRead(const QSqlDatabase &db) {
  for (const TableFields &table : TablesRead) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("select * from %1 limit 1")
                        .arg(db.driver()->escapeIdentifier(table.table, QSqlDriver::TableName)))) {
      const QSqlError error = query.lastError();
      return OpenFailure{IsDamaged(error) ? CatalogueError::NotACatalogue
                                          : CatalogueError::MissingTable,
                         error.text()};
    }
    // Fields are looked up by name in the result: SQLite would take a quoted name that is
    // not a column for a string and answer without complaint.
    const QSqlRecord columns = query.record();
    for (const QString &field : table.fields)
      if (columns.indexOf(field) < 0)
        return OpenFailure{CatalogueError::MissingTable,
                           QStringLiteral("no field %1 in %2").arg(field, table.table)};
  }
  return std::nullopt;
}

} // namespace

QString StartupErrorText(int errorNumber) {
  if (errorNumber == static_cast<int>(CatalogueError::DriverMissing))
    return QStringLiteral("Installation not complete.\r\n"
                          "Please Restart the computer for new settings to take effect");
  return QStringLiteral("Unable to Register components.\r\n"
                        "Restart the computer and then try again.\r\n"
                        "If the problem persists contact your Vendor\r\n"
                        "Error No. ") +
         QString::number(errorNumber);
}

DatabaseHandlers::DatabaseHandlers(Session &session, Ui &ui, CatalogueOptions options)
    : session_(session), ui_(ui), options_(std::move(options)) {
  static std::atomic<int> instances{0};
  connectionName_ = QStringLiteral("kvr-catalogue-%1").arg(++instances);
  if (options_.userDataFolder.isEmpty())
    options_.userDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

DatabaseHandlers::~DatabaseHandlers() { Close(); }

QSqlDatabase DatabaseHandlers::Connection() const {
  return QSqlDatabase::database(connectionName_, false);
}

bool DatabaseHandlers::IsOpen() const { return Connection().isOpen(); }

void DatabaseHandlers::Close() {
  if (!QSqlDatabase::contains(connectionName_))
    return;
  Connection().close();
  QSqlDatabase::removeDatabase(connectionName_);
}

bool DatabaseHandlers::AskToContinueWithoutCatalogue() {
  const QString text =
      QStringLiteral("Cannot find the MCU DataBase file. This file is required by the ") +
      kAppTitle + QStringLiteral(" for all the Serial Port operations.") +
      QStringLiteral("\r\n\r\n") + QStringLiteral("Do you wish to continue running the ") +
      kAppTitle + QStringLiteral(". Only the HEX Editing facility will now be available.");
  return ui_.ask(text, Buttons::YesNo, MessageIcon::Critical) == Answer::Yes;
}

DatabaseHandlers::OpenOutcome DatabaseHandlers::Fail(CatalogueError error, const QString &detail) {
  qWarning("Catalogue %s: %s", qUtf8Printable(session_.DatabasePath), qUtf8Printable(detail));
  Close();
  session_.DatabaseAvailable = false;
  ui_.message(StartupErrorText(static_cast<int>(error)), MessageIcon::Exclamation);
  return OpenOutcome::EndProgram;
}

DatabaseHandlers::OpenOutcome DatabaseHandlers::OpenCatalogue() {
  Close();
  session_.DatabaseAvailable = false;
  const QFileInfo shipped(session_.DatabasePath);
  if (!shipped.exists())
    return AskToContinueWithoutCatalogue() ? OpenOutcome::HexEditingOnly : OpenOutcome::EndProgram;
  if (!QSqlDatabase::isDriverAvailable(options_.driverName))
    return Fail(CatalogueError::DriverMissing, options_.driverName + QStringLiteral(" missing"));
  if (!shipped.isFile() || !shipped.isReadable())
    return Fail(CatalogueError::CannotOpen, QStringLiteral("not a readable file"));

  QString pathInUse = shipped.absoluteFilePath();
  bool readOnly = false;
  std::optional<Switches> carriedSwitches;
  if (IsReadOnly(shipped)) {
    const QString copyPath = WritableCopy(pathInUse, &carriedSwitches);
    if (copyPath.isEmpty()) {
      // Still usable; only the warning switches cannot be saved.
      qWarning("Catalogue %s is read-only and no copy could be made in %s",
               qUtf8Printable(pathInUse), qUtf8Printable(options_.userDataFolder));
      readOnly = true;
    } else {
      pathInUse = copyPath;
    }
  }

  std::optional<OpenFailure> failure;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(options_.driverName, connectionName_);
    db.setDatabaseName(pathInUse);
    db.setPassword(CataloguePassword);
    if (readOnly)
      db.setConnectOptions(ReadOnlyOption);
    if (!db.open())
      failure = OpenFailure{CatalogueError::CannotOpen, db.lastError().text()};
    else
      failure = CheckTablesRead(db);
  }
  if (failure)
    return Fail(failure->error, failure->detail);

  session_.DatabaseAvailable = true;
  session_.DatabasePath = pathInUse;
  const QString tempFolder = readOnly
                                 ? QStandardPaths::writableLocation(QStandardPaths::TempLocation)
                                 : QFileInfo(pathInUse).absolutePath();
  session_.TempImagePath = tempFolder + QLatin1Char('/') + TempImageName;
  if (carriedSwitches)
    for (int n = 0; n < StartTipRows; ++n)
      SetStartTip(static_cast<StartTipRow>(n + 1), (*carriedSwitches)[n]);
  return OpenOutcome::Opened;
}

QString DatabaseHandlers::WritableCopy(const QString &shippedPath,
                                       std::optional<Switches> *previousSwitches) {
  const QFileInfo shipped(shippedPath);
  const QString folder = options_.userDataFolder + QStringLiteral("/Data");
  if (options_.userDataFolder.isEmpty() || !QDir().mkpath(folder))
    return {};
  const QString copyPath = folder + QLatin1Char('/') + shipped.fileName();
  const QFileInfo copy(copyPath);
  if (copy.exists()) {
    if (copy.lastModified() >= shipped.lastModified() && !IsReadOnly(copy))
      return copyPath;
    // A newer catalogue was installed (or the copy went read-only): take the shipped rows,
    // keep the user's switches.
    *previousSwitches =
        ReadSwitches(copyPath, options_.driverName, connectionName_ + QStringLiteral("-previous"));
    QFile::setPermissions(copyPath, copy.permissions() | QFileDevice::WriteOwner);
  }
  QFile source(shippedPath);
  QSaveFile target(copyPath);
  if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly))
    return {};
  const QByteArray bytes = source.readAll();
  if (bytes.size() != source.size() || target.write(bytes) != bytes.size() || !target.commit())
    return {};
  QFile::setPermissions(copyPath, QFile::permissions(copyPath) | QFileDevice::ReadOwner |
                                      QFileDevice::WriteOwner);
  return copyPath;
}

QSqlQuery DatabaseHandlers::Select(const QString &text, const QVariantList &values) const {
  const QSqlDatabase db = Connection();
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!db.isOpen() || !query.prepare(text))
    return query;
  for (const QVariant &value : values)
    query.addBindValue(value);
  query.exec();
  return query;
}

QString DatabaseHandlers::LookupField(const QString &table, const QString &field,
                                      const QString &keyField, const QVariant &key) const {
  const QSqlDatabase db = Connection();
  if (!db.isOpen())
    return {};
  const QSqlDriver *driver = db.driver();
  QSqlQuery query = Select(QStringLiteral("Select * From %1 where %2=?")
                               .arg(driver->escapeIdentifier(table, QSqlDriver::TableName),
                                    driver->escapeIdentifier(keyField, QSqlDriver::FieldName)),
                           {key});
  if (!query.next())
    return {};
  return query.value(field).toString();
}

QSqlRecord DatabaseHandlers::DeviceRecord(const QString &identifier) const {
  QSqlQuery query = Select(CatalogueQueries::DeviceById, {identifier});
  return query.next() ? query.record() : QSqlRecord();
}

QString DatabaseHandlers::SizeInKbText(double bytes) {
  QString text = QString::number(bytes / 1024.0, 'g', 15);
  if (text.startsWith(QLatin1String("0.")))
    text.remove(0, 1);
  return text;
}

bool DatabaseHandlers::SelectMcu(const QString &identifier) {
  SelectedMcu &mcu = session_.Mcu;
  session_.SignatureVerified = false;
  const QSqlRecord device = DeviceRecord(identifier);
  if (device.isEmpty()) {
    mcu.MCUModel.clear();
    mcu.BrandName.clear();
    mcu.FamilyCode.clear();
    return false;
  }
  mcu.MCUIDNumber = identifier;
  mcu.MCUModel = device.value(QStringLiteral("MCUModel")).toString();
  mcu.MCUCodeROMSize = device.value(QStringLiteral("MCUCodeROMSize")).toInt();
  mcu.MCULockBits = device.value(QStringLiteral("MCULockBits")).toInt();
  const int range = device.value(QStringLiteral("MCURangeNumber")).toInt();

  const QString rangeKey = QStringLiteral("MCURangeNumber");
  const QString rangeName =
      LookupField(QStringLiteral("RangeMaster"), QStringLiteral("MCURangeName"), rangeKey, range)
          .trimmed();
  const int brand =
      LookupField(QStringLiteral("RangeMaster"), QStringLiteral("BrandNumber"), rangeKey, range)
          .toInt();
  const QString brandName = LookupField(QStringLiteral("BrandMaster"), QStringLiteral("BrandName"),
                                        QStringLiteral("BrandNumber"), brand)
                                .trimmed();
  mcu.BrandName = brandName;
  mcu.FamilyCode = brandName + rangeName;

  ui_.setPanelText(Panel::SbrMCU, QStringLiteral("MCU : ") + brandName + QLatin1Char('-') +
                                      mcu.MCUModel + QStringLiteral(" (") +
                                      SizeInKbText(mcu.MCUCodeROMSize) + QStringLiteral(" Kb)"));
  for (int n = 0; n < 3; ++n)
    session_.LockBitSelection[n] = QStringLiteral("0");
  return true;
}

bool DatabaseHandlers::StartTipEnabled(StartTipRow row) const {
  QSqlQuery query = Select(CatalogueQueries::StartTips);
  for (int n = 0; n < static_cast<int>(row); ++n)
    if (!query.next())
      return true;
  return query.value(QStringLiteral("Tip")).toBool();
}

bool DatabaseHandlers::SetStartTip(StartTipRow row, bool show) {
  QVariant id;
  {
    QSqlQuery query = Select(CatalogueQueries::StartTips);
    for (int n = 0; n < static_cast<int>(row); ++n)
      if (!query.next())
        return false;
    id = query.value(QStringLiteral("ID"));
  }
  return Select(SetOneTip, {show ? 1 : 0, id}).isActive();
}

bool DatabaseHandlers::EnableAllStartTips() { return Select(SetAllTips, {1}).isActive(); }

} // namespace kvr
