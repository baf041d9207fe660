#include "CatalogueTestSupport.h"

#include <QFile>

using namespace kvr;
using namespace kvr::test;

namespace {
const StartTipRow AllRows[] = {StartTipRow::StartTip, StartTipRow::EraseWarning,
                               StartTipRow::LockWarning, StartTipRow::AutoWarning};
}

TEST_F(CatalogueTest, StartTipSwitchesPersistAcrossReopening) {
  InstallCatalogue();
  {
    auto catalogue = Open();
    EXPECT_EQ(session.DatabasePath, InstalledCatalogue()); // writable: used in place
    EXPECT_EQ(session.TempImagePath, AppFolder() + "/Data/$KVR104Temp.Bin");
    for (StartTipRow row : AllRows)
      EXPECT_TRUE(catalogue->StartTipEnabled(row));
    EXPECT_TRUE(catalogue->SetStartTip(StartTipRow::EraseWarning, false));
    EXPECT_TRUE(catalogue->SetStartTip(StartTipRow::AutoWarning, false));
  }
  {
    auto catalogue = Open();
    EXPECT_TRUE(catalogue->StartTipEnabled(StartTipRow::StartTip));
    EXPECT_FALSE(catalogue->StartTipEnabled(StartTipRow::EraseWarning));
    EXPECT_TRUE(catalogue->StartTipEnabled(StartTipRow::LockWarning));
    EXPECT_FALSE(catalogue->StartTipEnabled(StartTipRow::AutoWarning));
    EXPECT_TRUE(catalogue->EnableAllStartTips());
  }
  auto catalogue = Open();
  for (StartTipRow row : AllRows)
    EXPECT_TRUE(catalogue->StartTipEnabled(row));
  EXPECT_FALSE(QFile::exists(UserFolder() + "/Data/KVR104.sqlite"));
}
