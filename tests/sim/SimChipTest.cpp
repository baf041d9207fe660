// The seated chip: what it holds by its catalogue row, its lock bits, and its
// state file.
#include "SimChip.h"
#include "ChipSource.h"
#include "SimOptions.h"
#include "StateFile.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kvr::sim;

namespace {

SimChip Seat(const char *id) { return SimChip(*FindBuiltInChip(QString::fromLatin1(id))); }

TEST(SimChipLayout, MemoriesComeFromTheTypeBytesAndSpecialBytesFromTheFamily) {
  const struct {
    const char *id;
    Store store;
    const char *startHex; // areas: empty, sized below
    int size;
  } cases[] = {
      {"017", Store::Eeprom, "", 2048},        {"039", Store::DataBlock, "", 8192},
      {"039", Store::StatusBoot, "00FC00", 3}, {"039", Store::ClockMode, "FF", 1},
      {"039", Store::I2cAddress, "00", 1},     {"04C", Store::DataBlock, "", 4096},
      {"064", Store::LdRom, "", 4096},         {"071", Store::Block1, "", 8192},
      {"071", Store::ConfigBits, "00", 1},     {"071", Store::DoubleClock, "FF", 1},
      {"75", Store::Block1, "", 8192},         {"0A3", Store::Block1, "", 4096},
      {"0A3", Store::RemapBits, "0000", 2},    {"08B", Store::UserParams, "", 32},
      {"08B", Store::Ucfg1, "FF", 1},          {"02C", Store::ClockMode, "00", 1},
      {"72", Store::ClockMode, "FF", 1},       {"0D0", Store::OptionControl, "00", 1},
  };
  for (const auto &c : cases) {
    const SimChip chip = Seat(c.id);
    ASSERT_TRUE(chip.has(c.store)) << c.id << " " << StoreName(c.store).toStdString();
    EXPECT_EQ(chip.size(c.store), c.size) << c.id;
    if (*c.startHex)
      EXPECT_EQ(chip.read(c.store, 0, c.size), QByteArray::fromHex(c.startHex)) << c.id;
    else
      EXPECT_TRUE(chip.readsBlank(c.store)) << c.id;
  }
  EXPECT_FALSE(Seat("017").has(Store::Block1));
  EXPECT_FALSE(Seat("039").has(Store::Eeprom));
  EXPECT_FALSE(Seat("71").has(Store::UserParams)) << "the encryption array has no command";
}

TEST(SimChipLock, LockBitOneStopsProgrammingAFurtherBitStopsReading) {
  SimChip chip = Seat("017");
  chip.write(Store::Code, 0, "\x42");
  chip.programLockBits(0x01);
  EXPECT_TRUE(chip.isLocked());
  EXPECT_FALSE(chip.readProtected());
  EXPECT_EQ(chip.read(Store::Code, 0, 1), "\x42");
  chip.programLockBits(0x04);
  EXPECT_EQ(chip.lockBits(), 0x05) << "bits add up";
  EXPECT_TRUE(chip.readProtected());
  EXPECT_EQ(chip.read(Store::Code, 0, 1), "\xFF");
  EXPECT_EQ(chip.read(Store::Eeprom, 0, 1), "\xFF");
  chip.eraseChip();
  EXPECT_FALSE(chip.isLocked());

  ChipModel oneBit = *FindBuiltInChip("017");
  oneBit.lockBits = 1;
  SimChip single(oneBit);
  single.programLockBits(0x0E);
  EXPECT_FALSE(single.isLocked()) << "bits the chip does not have";
  single.programLockBits(0x01);
  EXPECT_TRUE(single.readProtected());

  SimChip eeprom = Seat("0E1");
  eeprom.programLockBits(0x0F);
  EXPECT_FALSE(eeprom.isLocked());

  SimChip zero = Seat("0A3");
  zero.programLockBits(0x02);
  EXPECT_EQ(zero.read(Store::Code, 0, 2), QByteArray(2, '\0'));
  EXPECT_FALSE(zero.readsBlank(Store::Code));
}

TEST(SimChipLock, WritesOutsideAStoreChangeNothing) {
  SimChip chip = Seat("08B");
  EXPECT_FALSE(chip.write(Store::Code, 1023, "ab"));
  EXPECT_FALSE(chip.write(Store::Code, -1, "a"));
  EXPECT_FALSE(chip.write(Store::Eeprom, 0, "a"));
  EXPECT_TRUE(chip.readsBlank(Store::Code));
  EXPECT_TRUE(chip.read(Store::Code, 1024, 1).isEmpty());
}

TEST(SimChipState, AChipSurvivesItsStateFile) {
  SimChip chip = Seat("071");
  chip.write(Store::Code, 65535, "\x01");
  chip.write(Store::Block1, 0, "\x02\x03");
  chip.write(Store::ConfigBits, 0, "\x08");
  chip.programLockBits(0x01);
  chip.selectBlock(Store::Block1);

  SimChip again = Seat("071");
  QString error;
  ASSERT_TRUE(again.fromState(chip.toState(), &error)) << error.toStdString();
  EXPECT_EQ(again.read(Store::Code, 65535, 1), "\x01");
  EXPECT_EQ(again.read(Store::Block1, 0, 2), "\x02\x03");
  EXPECT_EQ(again.read(Store::ConfigBits, 0, 1), "\x08");
  EXPECT_EQ(again.lockBits(), 0x01);
  EXPECT_EQ(again.selectedBlock(), Store::Block1);
}

TEST(SimChipState, AStateThatDoesNotFitIsRefusedAndChangesNothing) {
  SimChip source = Seat("071");
  source.write(Store::Code, 0, "\x11");
  const QByteArray state = source.toState();
  const struct {
    const char *chip;
    QByteArray state;
    const char *reason;
  } cases[] = {
      {"072", state, "not \"072\""},
      {"071", QByteArray(state).replace("\"Block1\"", "\"Eeprom\""), "no store \"Eeprom\""},
      {"071", QByteArray(state).replace("\"ConfigBits\": \"00\"", "\"ConfigBits\": \"0000\""),
       "holds 2 bytes"},
      {"071", "{ not json", "not a chip state"},
  };
  for (const auto &c : cases) {
    SimChip chip = Seat(c.chip);
    QString error;
    EXPECT_FALSE(chip.fromState(c.state, &error)) << c.chip;
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << error.toStdString();
    EXPECT_TRUE(chip.readsBlank(Store::Code));
  }
}

TEST(SimChipState, KvrSimSeatsTheChipItsStateFileHolds) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("chip.json"));
  SimChip chip = Seat("75");
  chip.write(Store::Block1, 100, "\x77");
  QString error;
  ASSERT_TRUE(SaveChipState(chip, file, &error)) << error.toStdString();

  SimOptions options;
  options.state = file;
  options.catalogue = QString();
  qputenv("KVR_HOME", dir.path().toLocal8Bit()); // no catalogue there: the built-in rows
  const std::unique_ptr<SimChip> seated = LoadSeatedChip(options, &error);
  ASSERT_TRUE(seated) << error.toStdString();
  EXPECT_EQ(seated->model().model, QString("P89V51RD2"));
  EXPECT_EQ(seated->read(Store::Block1, 100, 1), "\x77");

  options.chip = QStringLiteral("017");
  EXPECT_FALSE(LoadSeatedChip(options, &error));
  EXPECT_TRUE(error.contains(QStringLiteral("not \"017\""))) << error.toStdString();
  qunsetenv("KVR_HOME");
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
      for (const char *sql :
           {"create table BrandMaster (BrandNumber integer, BrandName text)",
            "create table RangeMaster (MCURangeNumber integer, MCURangeName text, BrandNumber "
            "integer)",
            "create table MCUMaster (MCUIDNumber text, MCUModel text, MCUCodeROMSize integer, "
            "MCULockBits integer, MCURangeNumber integer, MCUType_0 text, MCUType_1 text, "
            "MCUType_2 text, MCUType_3 text, MCUType_4 text, MCUType_5 text, MCUType_6 text, "
            "MCUType_7 text, Sig_Byte_Count text, Sig_1 text, Sig_2 text, Sig_3 text)",
            "insert into BrandMaster values (6, 'PHILIPS ')",
            "insert into RangeMaster values (12, 'Rx2XX', 6)",
            "insert into MCUMaster values ('04E', 'P89C51RC2xx', 32768, 3, 12, '0C', '03', '01', "
            "'03', '00', '02', '0C', '00', '1', '15', '00', '00')",
            "insert into MCUMaster values ('BAD', 'X', 32768, 3, 12, '0C', 'ZZ', '01', "
            "'03', '00', '02', '0C', '00', '1', '15', '00', '00')",
            "insert into MCUMaster values ('BIG', 'X', 98304, 3, 12, '0C', '03', '01', "
            "'03', '00', '02', '0C', '00', '1', '15', '00', '00')"})
        ASSERT_TRUE(q.exec(QString::fromLatin1(sql))) << sql;
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
  }

  QTemporaryDir dir;
  QString path;
};

TEST_F(CatalogueFile, ARowBecomesTheChipWithItsFamilyAndMemories) {
  QString error;
  const std::optional<ChipModel> model = LoadCatalogueChip(path, QStringLiteral("04E"), &error);
  ASSERT_TRUE(model) << error.toStdString();
  EXPECT_EQ(model->family, QString("PHILIPSRx2XX")) << "names trimmed and joined";
  EXPECT_EQ(model->codeSize, 32768);
  EXPECT_EQ(model->typeBytes[0], 0x0C);
  EXPECT_EQ(model->signature[0], 0x15);
  const SimChip chip(*model);
  EXPECT_EQ(chip.size(Store::DataBlock), 4096);
  EXPECT_TRUE(chip.has(Store::StatusBoot));
}

TEST_F(CatalogueFile, RowsThatCannotBeSeatedSayWhy) {
  const struct {
    const char *file;
    const char *id;
    const char *reason;
  } cases[] = {{"", "999", "no device \"999\""},
               {"", "BAD", "MCUType_1"},
               {"", "BIG", "98304"},
               {"missing.sqlite", "04E", "no catalogue"}};
  for (const auto &c : cases) {
    const QString file = *c.file ? dir.filePath(QString::fromLatin1(c.file)) : path;
    QString error;
    EXPECT_FALSE(LoadCatalogueChip(file, QString::fromLatin1(c.id), &error)) << c.id;
    EXPECT_TRUE(error.contains(QString::fromLatin1(c.reason))) << error.toStdString();
  }
}

TEST_F(CatalogueFile, TheCatalogueBesideTheProgramsIsPreferredToTheBuiltInRows) {
  QTemporaryDir home;
  QString error;
  qputenv("KVR_HOME", home.path().toLocal8Bit());
  EXPECT_TRUE(FindChip(QStringLiteral("017"), QString(), &error)) << "built in";
  EXPECT_FALSE(FindChip(QStringLiteral("04E"), QString(), &error));
  EXPECT_TRUE(error.contains(QStringLiteral("017"))) << "names the chips it knows";

  ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Data")));
  ASSERT_TRUE(QFile::copy(path, home.filePath(QStringLiteral("Data/KVR104.sqlite"))));
  EXPECT_TRUE(FindChip(QStringLiteral("04E"), QString(), &error)) << error.toStdString();
  EXPECT_FALSE(FindChip(QStringLiteral("017"), QString(), &error));
  qunsetenv("KVR_HOME");
  EXPECT_TRUE(FindChip(QStringLiteral("04E"), path, &error));
}

} // namespace
