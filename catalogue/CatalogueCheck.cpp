#include "CatalogueCheck.h"

#include "FamilyCodes.h"
#include "Globals.h"
#include "Hex.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace kvr {

namespace {

// Catalogue bytes are upper case: the signature command sends them as they stand.
bool IsUpperHexByte(const QString &text) {
  return BaseModule::IsHexByte(text) && text == text.toUpper();
}

bool IsWholeNumber(const QString &text) {
  bool ok = false;
  text.toUInt(&ok);
  return ok;
}

// Runs a query whose rows are each one problem, described by its first column.
void CollectRows(const QSqlDatabase &db, const QString &text, QStringList &problems) {
  QSqlQuery query(db);
  if (!query.exec(text)) {
    problems.append(query.lastError().text());
    return;
  }
  while (query.next())
    problems.append(query.value(0).toString());
}

void CheckDevice(const QSqlQuery &device, QStringList &problems) {
  const QString id = device.value(QStringLiteral("MCUIDNumber")).toString();
  const auto problem = [&](const QString &what) {
    problems.append(QStringLiteral("device %1: %2").arg(id, what));
  };
  const QString family = device.value(QStringLiteral("BrandName")).toString().trimmed() +
                         device.value(QStringLiteral("MCURangeName")).toString().trimmed();
  if (!BaseModule::IsFamilyCode(family))
    problem(QStringLiteral("family \"%1\" is not a family code").arg(family));

  const QVariant size = device.value(QStringLiteral("MCUCodeROMSize"));
  bool sizeIsNumber = false;
  const double bytes = size.toDouble(&sizeIsNumber);
  if (!sizeIsNumber || bytes < 1 || bytes > BaseModule::SixtyFourKB)
    problem(QStringLiteral("code size %1 is not between 1 and 65536").arg(size.toString()));

  for (int n = 0; n < 8; ++n) {
    const QString field = QStringLiteral("MCUType_%1").arg(n);
    if (!IsUpperHexByte(device.value(field).toString()))
      problem(field + QStringLiteral(" is not two upper-case hex digits"));
  }
  if (family != BaseModule::EEPROM24Cxx) {
    for (const QString &field :
         {QStringLiteral("Sig_1"), QStringLiteral("Sig_2"), QStringLiteral("Sig_3")})
      if (!IsUpperHexByte(device.value(field).toString()))
        problem(field + QStringLiteral(" is not two upper-case hex digits"));
    const QString count = device.value(QStringLiteral("Sig_Byte_Count")).toString();
    if (count.size() != 1 || count[0] < QLatin1Char('0') || count[0] > QLatin1Char('3'))
      problem(QStringLiteral("Sig_Byte_Count \"%1\" is not 0 to 3").arg(count));
  }
  if (family == BaseModule::PHILIPS87C && !IsWholeNumber(id))
    problem(QStringLiteral("a PHILIPS87C identifier must be a whole number"));
}

} // namespace

QStringList CheckCatalogue(const QSqlDatabase &db) {
  QStringList problems;
  CollectRows(db,
              QStringLiteral("select 'range ' || r.MCURangeNumber || ': brand ' || r.BrandNumber "
                             "|| ' does not exist' from RangeMaster r where not exists "
                             "(select 1 from BrandMaster b where b.BrandNumber = r.BrandNumber)"),
              problems);
  CollectRows(db,
              QStringLiteral("select 'device ' || m.MCUIDNumber || ': range ' || m.MCURangeNumber "
                             "|| ' does not exist' from MCUMaster m where not exists "
                             "(select 1 from RangeMaster r where r.MCURangeNumber = "
                             "m.MCURangeNumber)"),
              problems);
  CollectRows(db,
              QStringLiteral("select 'range ' || MCURangeName || ': range number 0 is not "
                             "allowed' from RangeMaster where MCURangeNumber = 0"),
              problems);

  QSqlQuery devices(db);
  if (!devices.exec(QStringLiteral(
          "select m.*, r.MCURangeName, b.BrandName from MCUMaster m "
          "left join RangeMaster r on r.MCURangeNumber = m.MCURangeNumber "
          "left join BrandMaster b on b.BrandNumber = r.BrandNumber order by m.MCUIDNumber"))) {
    problems.append(devices.lastError().text());
    return problems;
  }
  while (devices.next())
    CheckDevice(devices, problems);
  return problems;
}

} // namespace kvr
