#include "CatalogueCheck.h"
#include "CatalogueTestSupport.h"
#include "FamilyCodes.h"

#include <QFile>
#include <QSet>
#include <QSqlQuery>

#include <map>

using namespace kvr;
using namespace kvr::test;

namespace {
QStringList CheckFile(const QString &path) {
  QStringList problems;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check-test");
    db.setDatabaseName(path);
    if (db.open())
      problems = CheckCatalogue(db);
    else
      problems.append("cannot open");
  }
  QSqlDatabase::removeDatabase("check-test");
  return problems;
}
} // namespace

TEST(ShippedCatalogue, PassesTheCatalogueCheck) {
  EXPECT_EQ(CheckFile(KVR_SHIPPED_CATALOGUE), QStringList());
}

TEST_F(CatalogueTest, ShippedDevicesCoverEveryFamilyAndKeepTheTypeByteMeanings) {
  InstallCatalogue();
  auto catalogue = Open();
  // Identifiers the code tests by value denote the expected devices.
  std::map<QString, std::pair<QString, QString>> byValue{
      {"017", {"AT89S8252", BaseModule::ATMEL89S}},
      {"039", {"P89C669", BaseModule::PHILIPS66X}},
      {"064", {"W78E58B", BaseModule::WINBOND78E}},
      {"065", {"W78E516B", BaseModule::WINBOND78E}},
      {"071", {"SST89E564RD", BaseModule::SST89x5xxRx}},
      {"072", {"SST89E554RC", BaseModule::SST89x5xxRx}},
      {"76", {"SST89E516RD2", BaseModule::SST89x5xxRx}},
      {"75", {"P89V51RD2", BaseModule::PHILIPSVRx2XX}},
      {"08B", {"P87LPC760", BaseModule::PHILIPSLPC}},
      {"08C", {"P87LPC761", BaseModule::PHILIPSLPC}},
      {"71", {"P87C51RA2", BaseModule::PHILIPS87C}},
      {"74", {"P87C51RD2", BaseModule::PHILIPS87C}}};
  QSet<QString> families, familyAndModel;
  QStringList sixClockIds;
  QSqlQuery devices = catalogue->Select("Select * from MCUMaster");
  while (devices.next()) {
    const QString id = devices.value("MCUIDNumber").toString();
    const auto type = [&](int n) { return devices.value(QString("MCUType_%1").arg(n)).toString(); };
    const auto byte = [&](int n) { return type(n).toInt(nullptr, 16); };
    ASSERT_TRUE(catalogue->SelectMcu(id));
    const QString family = session.Mcu.FamilyCode;
    families.insert(family);
    if (const auto expected = byValue.extract(id)) {
      EXPECT_EQ(expected.mapped(), std::pair(session.Mcu.MCUModel, family));
    }
    if (family == BaseModule::PHILIPS87C && id.toInt() >= 71 && id.toInt() <= 74)
      sixClockIds.append(id);

    const auto index =
        std::find(BaseModule::FamilyCodes.begin(), BaseModule::FamilyCodes.end(), family);
    EXPECT_EQ(byte(0), index - BaseModule::FamilyCodes.begin() + 1) << id.toStdString();
    EXPECT_FALSE(familyAndModel.contains(type(0) + type(1))) << id.toStdString();
    familyAndModel.insert(type(0) + type(1));
    EXPECT_EQ(byte(3), session.Mcu.MCULockBits) << id.toStdString();
    EXPECT_EQ(byte(5) == 0, byte(6) == 0) << id.toStdString();
    EXPECT_EQ(byte(7) != 0, family == BaseModule::EEPROM24Cxx) << id.toStdString();
  }
  EXPECT_TRUE(byValue.empty()) << byValue.begin()->first.toStdString();
  EXPECT_EQ(families.size(), 21);
  sixClockIds.sort();
  EXPECT_EQ(sixClockIds, QStringList({"71", "72", "73", "74"}));
}

// Each spoiled catalogue gets its problem named; an EEPROM needs no signature.
TEST_F(CatalogueTest, CatalogueCheckFindsEachFault) {
  const std::pair<const char *, const char *> cases[] = {
      {"UPDATE RangeMaster SET BrandNumber = 9 WHERE MCURangeNumber = 20;",
       "range 20: brand 9 does not exist"},
      {"UPDATE MCUMaster SET MCURangeNumber = 77 WHERE MCUIDNumber = '0E0';",
       "device 0E0: range 77 does not exist"},
      {"PRAGMA ignore_check_constraints = ON; INSERT INTO RangeMaster VALUES (0, 'Spare', 1);",
       "range Spare: range number 0 is not allowed"},
      {"UPDATE RangeMaster SET MCURangeName = 'Lpc' WHERE MCURangeNumber = 14;"
       "DELETE FROM MCUMaster WHERE MCUIDNumber = '08C';",
       "device 08B: family \"PHILIPSLpc\" is not a family code"},
      {"UPDATE MCUMaster SET MCUCodeROMSize = 65537 WHERE MCUIDNumber = '001';",
       "device 001: code size 65537 is not between 1 and 65536"},
      {"UPDATE MCUMaster SET MCUType_4 = '0b' WHERE MCUIDNumber = '001';",
       "device 001: MCUType_4 is not two upper-case hex digits"},
      {"UPDATE MCUMaster SET Sig_2 = '5' WHERE MCUIDNumber = '001';",
       "device 001: Sig_2 is not two upper-case hex digits"},
      {"UPDATE MCUMaster SET Sig_1 = '', Sig_2 = 'x', Sig_Byte_Count = '' WHERE "
       "MCUIDNumber = '0E0';",
       ""},
      {"UPDATE MCUMaster SET MCUIDNumber = '7A' WHERE MCUIDNumber = '80';",
       "device 7A: a PHILIPS87C identifier must be a whole number"}};
  for (const auto &[sql, problem] : cases) {
    QFile::remove(InstalledCatalogue());
    InstallCatalogue(sql);
    const QStringList problems = CheckFile(InstalledCatalogue());
    EXPECT_TRUE(*problem ? problems.contains(problem) : problems.isEmpty())
        << sql << "\n"
        << problems.join('\n').toStdString();
  }
}
