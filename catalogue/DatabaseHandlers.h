#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace kvr {
class Session;
class Ui;

// The catalogue's query texts. Values go in as bound parameters, never as text: the device
// identifier comes from a settings file the user can edit.
namespace CatalogueQueries {
inline const QString BrandsByName =
    QStringLiteral("Select * from BrandMaster order by BrandName asc");
inline const QString RangesByName =
    QStringLiteral("Select * from RangeMaster order by MCURangeName asc");
inline const QString DevicesOfRange =
    QStringLiteral("Select * from MCUMaster Where MCURangeNumber=? order by MCUModel");
inline const QString DeviceById = QStringLiteral("Select * From MCUMaster where MCUIDNumber=?");
inline const QString BrandOfRange =
    QStringLiteral("select * from BrandMaster where BrandNumber = (select BrandNumber from "
                   "RangeMaster where MCURangeNumber=?)");
inline const QString StartTips = QStringLiteral("select * from StartTip Order by ID");
} // namespace CatalogueQueries

// Error numbers of a catalogue that cannot be used. The driver number keeps the value users
// know from the provider-not-installed case; the others are ours.
enum class CatalogueError {
  DriverMissing = 3706,
  CannotOpen = 5101,    // not a readable file, or the engine refuses it
  NotACatalogue = 5102, // not a database, or a damaged one
  MissingTable = 5103,  // a table or field the program reads is not there
};

// The message for an error number raised while the program starts.
QString StartupErrorText(int errorNumber);

// Rows of StartTip, in the order of ID: which warning window each switch belongs to.
enum class StartTipRow { StartTip = 1, EraseWarning = 2, LockWarning = 3, AutoWarning = 4 };

struct CatalogueOptions {
  // Where a writable copy goes when the shipped catalogue is read-only; empty means the
  // platform's per-user data folder.
  QString userDataFolder;
  QString driverName = QStringLiteral("QSQLITE");
};

// The one catalogue connection of the program, and the selection of the current device.
class DatabaseHandlers {
public:
  enum class OpenOutcome {
    Opened,
    HexEditingOnly, // no catalogue file; the user chose to go on with the hex editor
    EndProgram,     // the user chose to stop, or the catalogue is unusable (already reported)
  };

  DatabaseHandlers(Session &session, Ui &ui, CatalogueOptions options = {});
  ~DatabaseHandlers();
  DatabaseHandlers(const DatabaseHandlers &) = delete;
  DatabaseHandlers &operator=(const DatabaseHandlers &) = delete;

  // Opens the catalogue at Session::DatabasePath and sets DatabaseAvailable. A read-only
  // catalogue is copied to the user's data folder first; DatabasePath and TempImagePath
  // then point beside the copy. Failures are reported to the user here.
  OpenOutcome OpenCatalogue();
  bool IsOpen() const;

  // The missing-catalogue question; true when the user goes on without a catalogue.
  bool AskToContinueWithoutCatalogue();

  // Value of field in the first row of table whose keyField equals key, as text; empty when
  // no row matches or the value is null. Table and field names come from the program.
  QString LookupField(const QString &table, const QString &field, const QString &keyField,
                      const QVariant &key) const;

  // Makes the device with this identifier the current one and shows it in SbrMCU. When
  // there is no such device, model, brand and family are emptied, the rest is kept and the
  // status bar is left alone. Either way the signature has to be verified again.
  bool SelectMcu(const QString &identifier);

  // The device's row; an empty record when there is none.
  QSqlRecord DeviceRecord(const QString &identifier) const;

  // True when the warning window of this row is to be shown. A switch the catalogue lacks
  // counts as on: a warning too many is better than one missed.
  bool StartTipEnabled(StartTipRow row) const;
  bool SetStartTip(StartTipRow row, bool show);
  bool EnableAllStartTips();

  // Runs one of the query texts with its values bound, positioned before the first row.
  // The query must not outlive this object.
  QSqlQuery Select(const QString &text, const QVariantList &values = {}) const;

  // Bytes as KB in the shortest decimal form, without a leading zero: 512 gives ".5".
  static QString SizeInKbText(double bytes);

private:
  QSqlDatabase Connection() const;
  OpenOutcome Fail(CatalogueError error, const QString &detail);
  // Path of the user's copy, made or refreshed; empty when none can be made. When an older
  // copy is replaced, its warning switches come back through previousSwitches.
  QString WritableCopy(const QString &shippedPath,
                       std::optional<std::array<bool, 4>> *previousSwitches);
  void Close();

  Session &session_;
  Ui &ui_;
  CatalogueOptions options_;
  QString connectionName_;
};

} // namespace kvr
