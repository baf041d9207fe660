#include "CatalogueTestSupport.h"

using namespace kvr;
using namespace kvr::test;

namespace {
// A device of the given range, otherwise a copy of "017".
QString AddDevice(const QString &id, const QString &model, int size, int range) {
  return QString("INSERT INTO MCUMaster SELECT '%1', '%2', %3, 2, %4, \"DIP(Pins+Package)\", "
                 "\"PLCC(Pins+Package)\", MCUType_0, MCUType_1, MCUType_2, MCUType_3, MCUType_4, "
                 "MCUType_5, MCUType_6, MCUType_7, Sig_Byte_Count, Sig_1, Sig_2, Sig_3, '', '' "
                 "FROM MCUMaster WHERE MCUIDNumber = '017';\n")
      .arg(id, model)
      .arg(size)
      .arg(range);
}
} // namespace

class SelectMcuTest : public CatalogueTest {
protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    InstallCatalogue(AddDevice("S512", "Half", 512, 21) +
                     AddDevice("S1536", "OneAndHalf", 1536, 21) +
                     AddDevice("S64K", "Full", 65536, 21) +
                     "INSERT INTO BrandMaster VALUES (90, '  ATMEL ');"
                     "INSERT INTO RangeMaster VALUES (90, ' 89S  ', 90);" +
                     AddDevice("T1", "Blanks", 4096, 90) +
                     "INSERT INTO BrandMaster VALUES (91, 'Philips');"
                     "INSERT INTO RangeMaster VALUES (91, 'RX2', 91);" +
                     AddDevice("T2", "Lower", 4096, 91) + AddDevice("T3", "Dangling", 4096, 99));
    catalogue = Open();
  }
  std::unique_ptr<DatabaseHandlers> catalogue;
};

TEST_F(SelectMcuTest, FoundDeviceBecomesTheSelectionAnUnknownOneHalfClearsIt) {
  ASSERT_TRUE(catalogue->SelectMcu("017"));
  session.SignatureVerified = true;
  session.LockBitSelection = {"1", "1", "1", "1"};
  ASSERT_TRUE(catalogue->SelectMcu("017")); // the same device must be verified again
  const SelectedMcu &mcu = session.Mcu;
  EXPECT_EQ(mcu.MCUModel, QString("AT89S8252"));
  EXPECT_EQ(mcu.FamilyCode, QString("ATMEL89S"));
  EXPECT_FALSE(session.SignatureVerified);
  EXPECT_EQ(session.LockBitSelection, (std::array<QString, 4>{"0", "0", "0", "1"}));

  session.SignatureVerified = true;
  session.LockBitSelection = {"1", "1", "1", "1"};
  // Read from a settings file the user can edit: quotes must not reach the query text.
  for (const QString id : {"", "nope", "x' OR '1'='1", "08b", "017 "}) {
    EXPECT_FALSE(catalogue->SelectMcu(id)) << id.toStdString();
    EXPECT_TRUE(catalogue->DeviceRecord(id).isEmpty());
  }
  EXPECT_TRUE(mcu.MCUModel.isEmpty());
  EXPECT_TRUE(mcu.FamilyCode.isEmpty());
  EXPECT_EQ(mcu.MCUIDNumber, QString("017"));
  EXPECT_EQ(mcu.MCUCodeROMSize, 8192);
  EXPECT_EQ(mcu.MCULockBits, 3);
  EXPECT_EQ(ui.panelText(Panel::SbrMCU), QString("MCU : ATMEL-AT89S8252 (8 Kb)"));
  EXPECT_FALSE(session.SignatureVerified);
  EXPECT_EQ(session.LockBitSelection[0], QString("1"));
  EXPECT_EQ(catalogue->LookupField("MCUMaster", "MCUModel", "MCUIDNumber", "x' OR '1'='1"),
            QString());
}

// The size in Kb without a leading zero; the family trimmed, brand and range compared exactly; a
// device whose range is gone is selected as one of no known family.
TEST_F(SelectMcuTest, StatusShowsBrandModelAndSizeAndTheFamilyIsBrandAndRange) {
  const std::tuple<const char *, const char *, const char *> cases[] = {
      {"S512", "MCU : EEPROM-Half (.5 Kb)", "EEPROM24Cxx"},
      {"S1536", "MCU : EEPROM-OneAndHalf (1.5 Kb)", "EEPROM24Cxx"},
      {"S64K", "MCU : EEPROM-Full (64 Kb)", "EEPROM24Cxx"},
      {"0E0", "MCU : EEPROM-24C01 (.125 Kb)", "EEPROM24Cxx"},
      {"T1", "MCU : ATMEL-Blanks (4 Kb)", "ATMEL89S"},
      {"T2", "MCU : Philips-Lower (4 Kb)", "PhilipsRX2"},
      {"T3", "MCU : -Dangling (4 Kb)", ""}};
  for (const auto &[id, status, family] : cases) {
    ASSERT_TRUE(catalogue->SelectMcu(id)) << id;
    EXPECT_EQ(ui.panelText(Panel::SbrMCU), QString(status));
    EXPECT_EQ(session.Mcu.FamilyCode, QString(family)) << id;
  }
}
