// The device selection window on the shipped catalogue: it opens at the
// current device, and Select answers the device chosen, or nothing.
#include "FrmMCUList.h"
#include "CatalogueTestSupport.h"

#include <QPushButton>
#include <QTreeWidget>

using namespace kvr;
using namespace kvr::test;

namespace {

class DeviceWindow : public CatalogueTest {
protected:
  void SetUp() override {
    CatalogueTest::SetUp();
    InstallCatalogue();
    catalogue = Open();
  }
  // Presses Select; the identifier chosen, or nothing when the window stays.
  static std::optional<QString> Select(FrmMCUList &window) {
    window.findChild<QPushButton *>("CmdSelect")->click();
    return window.Cancelled() ? std::nullopt : std::optional<QString>(window.ChosenId());
  }
  std::unique_ptr<DatabaseHandlers> catalogue;
};

TEST_F(DeviceWindow, OpensAtTheCurrentDeviceAndSelectAnswersTheOneChosen) {
  FrmMCUList atCurrent(*catalogue, "017");
  EXPECT_EQ(Select(atCurrent), QString("017"));

  // With no device chosen Select does nothing; a range clicked lists its devices.
  FrmMCUList fresh(*catalogue, QString());
  auto *groups = fresh.findChild<QTreeWidget *>("TvwGroups");
  auto *devices = fresh.findChild<QTreeWidget *>("LvwMCUs");
  EXPECT_EQ(Select(fresh), std::nullopt);
  QTreeWidgetItem *range = groups->topLevelItem(0)->child(0);
  ASSERT_NE(range, nullptr);
  groups->setCurrentItem(range);
  ASSERT_GT(devices->topLevelItemCount(), 0);
  EXPECT_EQ(Select(fresh), std::nullopt) << "a range alone chooses no device";
  // The ranges on the left, the frame with the flat list of models beside them.
  fresh.show();
  EXPECT_LT(groups->geometry().right(), fresh.findChild<QWidget *>("FreList")->geometry().left());
  EXPECT_EQ(devices->visualItemRect(devices->topLevelItem(0)).left(), 0) << "no room for branches";
  devices->setCurrentItem(devices->topLevelItem(0));
  const std::optional<QString> chosen = Select(fresh);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(catalogue->SelectMcu(*chosen)) << chosen->toStdString();
  EXPECT_EQ(session.Mcu.MCUModel, devices->currentItem()->text(0));
  // A current device that heads its range's list is found too.
  FrmMCUList atFirst(*catalogue, *chosen);
  EXPECT_EQ(Select(atFirst), chosen);
}

} // namespace
