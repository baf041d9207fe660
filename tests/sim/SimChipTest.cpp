// The seated chip: its state file and its catalogue row.
#include "SimChip.h"
#include "ChipSource.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvr::sim;

namespace {

SimChip Seat(const char *id) { return SimChip(*FindBuiltInChip(QString::fromLatin1(id))); }

TEST(SimChipState, AChipSurvivesItsStateAndRefusesOneThatDoesNotFit) {
  SimChip chip = Seat("071");
  chip.write(Store::Code, 65535, "\x01");
  chip.write(Store::Block1, 0, "\x02\x03");
  chip.write(Store::ConfigBits, 0, "\x08");
  chip.programLockBits(0x01);
  chip.selectBlock(Store::Block1);
  const QByteArray state = chip.toState();

  SimChip again = Seat("071");
  QString error;
  ASSERT_TRUE(again.fromState(state, &error)) << error.toStdString();
  EXPECT_EQ(again.toState(), state);
  EXPECT_EQ(again.read(Store::Block1, 0, 2), "\x02\x03");
  EXPECT_EQ(again.selectedBlock(), Store::Block1);

  const struct {
    const char *chip;
    QByteArray state;
    const char *reason;
  } refused[] = {
      {"072", state, "not \"072\""},
      {"071", QByteArray(state).replace("\"Block1\"", "\"Eeprom\""), "no store \"Eeprom\""},
      {"071", QByteArray(state).replace("\"ConfigBits\": \"08\"", "\"ConfigBits\": \"0800\""),
       "holds 2 bytes"},
      {"071", "{ not json", "not a chip state"},
  };
  for (const auto &c : refused) {
    SimChip target = Seat(c.chip);
    EXPECT_FALSE(target.fromState(c.state, &error)) << c.reason;
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << error.toStdString();
    EXPECT_TRUE(target.readsBlank(Store::Code)) << "nothing of it was taken";
  }
}

// A catalogue file with the tables and fields the PC reads.
class CatalogueFile : public ::testing::Test {
protected:
  void SetUp() override {
    path = dir.filePath(QStringLiteral("KVR104.sqlite"));
    {
      QSqlDatabase db =
          QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
      db.setDatabaseName(path);
      ASSERT_TRUE(db.open());
      QSqlQuery q(db);
      const QString row = QStringLiteral(
          "insert into MCUMaster values ('%1', 'P89C51RC2xx', %2, 3, 12, '0C', '%3', '01', "
          "'03', '00', '02', '0C', '00', '1', '15', '00', '00')");
      for (const QString &sql :
           {QStringLiteral("create table BrandMaster (BrandNumber integer, BrandName text)"),
            QStringLiteral("create table RangeMaster (MCURangeNumber integer, MCURangeName text, "
                           "BrandNumber integer)"),
            QStringLiteral("create table MCUMaster (MCUIDNumber text, MCUModel text, "
                           "MCUCodeROMSize integer, MCULockBits integer, MCURangeNumber integer, "
                           "MCUType_0 text, MCUType_1 text, MCUType_2 text, MCUType_3 text, "
                           "MCUType_4 text, MCUType_5 text, MCUType_6 text, MCUType_7 text, "
                           "Sig_Byte_Count text, Sig_1 text, Sig_2 text, Sig_3 text)"),
            QStringLiteral("insert into BrandMaster values (6, 'PHILIPS ')"),
            QStringLiteral("insert into RangeMaster values (12, 'Rx2XX', 6)"),
            row.arg("04E").arg(32768).arg("03"), row.arg("BAD").arg(32768).arg("ZZ"),
            row.arg("BIG").arg(98304).arg("03")})
        ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
  }

  QTemporaryDir dir;
  QString path;
};

TEST_F(CatalogueFile, ARowBecomesTheChipOrSaysWhyItCannot) {
  QString error;
  const std::optional<ChipModel> model = LoadCatalogueChip(path, QStringLiteral("04E"), &error);
  ASSERT_TRUE(model) << error.toStdString();
  EXPECT_EQ(model->family, QString("PHILIPSRx2XX")) << "names trimmed and joined";
  EXPECT_EQ(SimChip(*model).size(Store::DataBlock), 4096) << "from type bytes 5 and 6";

  const struct {
    const char *id;
    const char *reason;
  } refused[] = {{"999", "no device \"999\""}, {"BAD", "MCUType_1"}, {"BIG", "98304"}};
  for (const auto &c : refused) {
    EXPECT_FALSE(LoadCatalogueChip(path, QString::fromLatin1(c.id), &error));
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << error.toStdString();
  }
  EXPECT_TRUE(QSqlDatabase::connectionNames().isEmpty()) << "each load closes its connection";
}

TEST_F(CatalogueFile, TheCatalogueBesideTheProgramsComesBeforeTheBuiltInRows) {
  QTemporaryDir home;
  QString error;
  qputenv("KVR_HOME", home.path().toLocal8Bit());
  EXPECT_TRUE(FindChip(QStringLiteral("017"), QString(), &error)) << "built in";
  ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Data")));
  ASSERT_TRUE(QFile::copy(path, home.filePath(QStringLiteral("Data/KVR104.sqlite"))));
  EXPECT_TRUE(FindChip(QStringLiteral("04E"), QString(), &error)) << error.toStdString();
  EXPECT_FALSE(FindChip(QStringLiteral("017"), QString(), &error));
  qunsetenv("KVR_HOME");
}

} // namespace
