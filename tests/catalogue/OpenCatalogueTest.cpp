#include "CatalogueTestSupport.h"

#include "Globals.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>

#include <functional>

using namespace kvr;
using namespace kvr::test;
using Outcome = DatabaseHandlers::OpenOutcome;

namespace {
QByteArray Digest(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly)
             ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
             : QByteArray();
}

void MarkReadOnly(const QString &path) {
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
}
} // namespace

TEST_F(CatalogueTest, MissingCatalogueAsksWhetherToGoOnWithHexEditingOnly) {
  ui.answers = {Answer::Yes, Answer::No};
  auto catalogue = Open(Outcome::HexEditingOnly);
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].text,
            QString("Cannot find the MCU DataBase file. This file is required by the KVR 1.04 for "
                    "all the Serial Port operations.\r\n\r\nDo you wish to continue running the "
                    "KVR 1.04. Only the HEX Editing facility will now be available."));
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
  EXPECT_FALSE(session.DatabaseAvailable);

  // Without a catalogue nothing can be selected and the warnings stay on.
  ui.setPanelText(Panel::SbrMCU, "before");
  EXPECT_FALSE(catalogue->SelectMcu("017"));
  EXPECT_TRUE(session.Mcu.MCUIDNumber.isEmpty());
  EXPECT_EQ(ui.panelText(Panel::SbrMCU), QString("before"));
  EXPECT_TRUE(catalogue->StartTipEnabled(StartTipRow::EraseWarning));

  Open(Outcome::EndProgram);
}

struct UnusableCase {
  const char *name;
  std::function<void(CatalogueTest &)> spoil;
  QString expectedText;
  friend void PrintTo(const UnusableCase &c, std::ostream *out) { *out << c.name; }
};

class UnusableCatalogue : public CatalogueTest,
                          public ::testing::WithParamInterface<UnusableCase> {};

TEST_P(UnusableCatalogue, IsReportedAndEndsTheProgram) {
  GetParam().spoil(*this);
  auto catalogue = Open(Outcome::EndProgram);
  EXPECT_FALSE(session.DatabaseAvailable);
  EXPECT_FALSE(catalogue->IsOpen());
  ASSERT_EQ(ui.messages.size(), 1);
  EXPECT_EQ(ui.messages[0].text, GetParam().expectedText);
  EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
  EXPECT_FALSE(catalogue->SelectMcu("017"));
}

const QString UnableToRegister = "Unable to Register components.\r\nRestart the computer and then "
                                 "try again.\r\nIf the problem persists contact your Vendor\r\n"
                                 "Error No. ";

INSTANTIATE_TEST_SUITE_P(
    Catalogue, UnusableCatalogue,
    ::testing::Values(
        UnusableCase{"DriverMissing",
                     [](CatalogueTest &t) {
                       t.InstallCatalogue();
                       t.options.driverName = "QNOSUCHDRIVER";
                     },
                     "Installation not complete.\r\nPlease Restart the computer for new "
                     "settings to take effect"},
        UnusableCase{"NotAFile", [](CatalogueTest &t) { QDir().mkpath(t.InstalledCatalogue()); },
                     UnableToRegister + "5101"},
        UnusableCase{"Garbage",
                     [](CatalogueTest &t) {
                       QDir().mkpath(t.AppFolder() + "/Data");
                       QFile file(t.InstalledCatalogue());
                       ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                       file.write(QByteArray(4096, '\x5a'));
                     },
                     UnableToRegister + "5102"},
        UnusableCase{"MissingTable",
                     [](CatalogueTest &t) { t.InstallCatalogue("DROP TABLE StartTip;"); },
                     UnableToRegister + "5103"},
        UnusableCase{"MissingField",
                     [](CatalogueTest &t) {
                       t.InstallCatalogue(
                           "ALTER TABLE MCUMaster DROP COLUMN \"PLCC(Pins+Package)\";");
                     },
                     UnableToRegister + "5103"}),
    [](const auto &info) { return std::string(info.param.name); });

// Turning every switch back on runs end to end in the special menu's tests.
TEST_F(CatalogueTest, StartTipSwitchesPersistAcrossReopening) {
  InstallCatalogue();
  {
    auto catalogue = Open();
    EXPECT_EQ(session.DatabasePath, InstalledCatalogue()); // writable: used in place
    EXPECT_EQ(session.TempImagePath, AppFolder() + "/Data/$KVR104Temp.Bin");
    EXPECT_TRUE(catalogue->StartTipEnabled(StartTipRow::EraseWarning));
    EXPECT_TRUE(catalogue->SetStartTip(StartTipRow::EraseWarning, false));
  }
  auto catalogue = Open();
  for (const StartTipRow row :
       {StartTipRow::StartTip, StartTipRow::LockWarning, StartTipRow::AutoWarning})
    EXPECT_TRUE(catalogue->StartTipEnabled(row)) << static_cast<int>(row);
  EXPECT_FALSE(catalogue->StartTipEnabled(StartTipRow::EraseWarning));
  EXPECT_FALSE(QFile::exists(UserFolder() + "/Data/KVR104.sqlite"));
}

TEST_F(CatalogueTest, ReadOnlyCatalogueIsCopiedAndTheCopyKeepsTheSwitches) {
  InstallCatalogue();
  MarkReadOnly(InstalledCatalogue());
  const QByteArray shippedDigest = Digest(InstalledCatalogue());
  const QString copy = UserFolder() + "/Data/KVR104.sqlite";
  {
    auto catalogue = Open();
    EXPECT_EQ(session.DatabasePath, copy);
    EXPECT_EQ(session.TempImagePath, UserFolder() + "/Data/$KVR104Temp.Bin");
    EXPECT_TRUE(catalogue->SetStartTip(StartTipRow::LockWarning, false));
    EXPECT_TRUE(catalogue->SelectMcu("017"));
  }
  EXPECT_EQ(Digest(InstalledCatalogue()), shippedDigest);
  {
    auto catalogue = Open();
    EXPECT_EQ(session.DatabasePath, copy);
    EXPECT_FALSE(catalogue->StartTipEnabled(StartTipRow::LockWarning));
  }

  // A newer catalogue is installed: its rows replace the copy's, the switches stay.
  QFile::setPermissions(InstalledCatalogue(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  ApplySql(InstalledCatalogue(),
           "CREATE TEMP TABLE T AS SELECT * FROM MCUMaster WHERE MCUIDNumber = '017';"
           "UPDATE T SET MCUIDNumber = 'NEW'; INSERT INTO MCUMaster SELECT * FROM T;");
  QFile installed(InstalledCatalogue());
  ASSERT_TRUE(installed.open(QIODevice::ReadWrite));
  installed.setFileTime(QDateTime::currentDateTime().addSecs(60),
                        QFileDevice::FileModificationTime);
  installed.close();
  MarkReadOnly(InstalledCatalogue());
  auto catalogue = Open();
  EXPECT_TRUE(catalogue->SelectMcu("NEW"));
  EXPECT_FALSE(catalogue->StartTipEnabled(StartTipRow::LockWarning));
  EXPECT_TRUE(catalogue->StartTipEnabled(StartTipRow::AutoWarning));
}

TEST_F(CatalogueTest, ReadOnlyCatalogueWithoutRoomForACopyIsUsedAsItIs) {
  InstallCatalogue();
  MarkReadOnly(InstalledCatalogue());
  options.userDataFolder = InstalledCatalogue(); // a file: no folder can be made there
  auto catalogue = Open();
  EXPECT_EQ(session.DatabasePath, InstalledCatalogue());
  EXPECT_FALSE(session.TempImagePath.startsWith(AppFolder()));
  EXPECT_TRUE(catalogue->SelectMcu("017"));
  EXPECT_FALSE(catalogue->SetStartTip(StartTipRow::EraseWarning, false));
  EXPECT_TRUE(catalogue->StartTipEnabled(StartTipRow::EraseWarning));
}

TEST_F(CatalogueTest, SeveralConnectionsLiveSideBySide) {
  InstallCatalogue();
  auto first = Open();
  Session otherSession;
  BaseModule::InitGlobals(otherSession, AppFolder());
  {
    DatabaseHandlers second(otherSession, ui, options);
    ASSERT_EQ(second.OpenCatalogue(), Outcome::Opened);
    EXPECT_TRUE(second.SelectMcu("039"));
  }
  EXPECT_TRUE(first->IsOpen());
  EXPECT_TRUE(first->SelectMcu("039"));
  EXPECT_EQ(session.Mcu.FamilyCode, QString("PHILIPS66X"));
}
