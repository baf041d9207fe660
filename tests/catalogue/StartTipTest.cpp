#include "CatalogueTestSupport.h"

#include <QFile>

using namespace kvr;
using namespace kvr::test;

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
