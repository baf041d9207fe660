#include "FrmMCUList.h"

#include "DeviceTree.h"
#include "Globals.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kvr {

namespace {
constexpr int kKeyRole = Qt::UserRole;

QIcon TreePicture(const char *name) {
  return QIcon(BaseModule::ApplicationFolder() + QStringLiteral("/Bmps/") + QLatin1String(name));
}
} // namespace

FrmMCUList::FrmMCUList(const DatabaseHandlers &catalogue, const QString &currentId, QWidget *owner)
    : QDialog(owner), catalogue_(catalogue) {
  setObjectName(QStringLiteral("FrmMCUList"));
  setWindowTitle(owner ? owner->windowTitle() : QStringLiteral("KVR 1.04 McuList"));
  if (owner)
    setWindowIcon(owner->windowIcon());
  resize(760, 420);

  groups_ = new QTreeWidget(this);
  groups_->setObjectName(QStringLiteral("TvwGroups"));
  groups_->setHeaderHidden(true);
  auto *frame = new QGroupBox(QStringLiteral("Select MCU"), this);
  frame->setObjectName(QStringLiteral("FreList"));
  devices_ = new QTreeWidget(frame);
  devices_->setObjectName(QStringLiteral("LvwMCUs"));
  devices_->setRootIsDecorated(false);
  devices_->setHeaderLabels({QStringLiteral("Model Name"), QStringLiteral("Size (KB)"),
                             QStringLiteral("Lock Bits"), QStringLiteral("DIP(Pins+Package)"),
                             QStringLiteral("PLCC(Pins+Package)")});
  devices_->header()->setStretchLastSection(false);
  auto *frameLayout = new QVBoxLayout(frame);
  frameLayout->addWidget(devices_);

  auto *select = new QPushButton(QStringLiteral("&Select"), this);
  select->setObjectName(QStringLiteral("CmdSelect"));
  select->setDefault(true);
  auto *cancel = new QPushButton(QStringLiteral("Ca&ncel"), this);
  cancel->setObjectName(QStringLiteral("CmdCancel"));
  connect(select, &QPushButton::clicked, this, &FrmMCUList::Select);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(devices_, &QTreeWidget::itemDoubleClicked, this, &FrmMCUList::Select);

  // Click, expand and collapse all look at the tree's selected node.
  connect(groups_, &QTreeWidget::itemClicked, this, &FrmMCUList::TreeEvent);
  connect(groups_, &QTreeWidget::itemExpanded, this, &FrmMCUList::TreeEvent);
  connect(groups_, &QTreeWidget::itemCollapsed, this, &FrmMCUList::TreeEvent);
  connect(groups_, &QTreeWidget::currentItemChanged, this, &FrmMCUList::TreeEvent);

  auto *lists = new QHBoxLayout;
  lists->addWidget(groups_, 1);
  lists->addWidget(frame, 3);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(select);
  buttons->addWidget(cancel);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(lists);
  layout->addLayout(buttons);

  LoadGroups();
  if (!currentId.isEmpty()) {
    if (QTreeWidgetItem *range = FindNode(RangeKeyOf(catalogue_, currentId))) {
      range->parent()->setExpanded(true);
      groups_->setCurrentItem(range);
      for (int i = 0; i < devices_->topLevelItemCount(); ++i)
        if (devices_->topLevelItem(i)->data(0, kKeyRole).toString() ==
            QStringLiteral("M") + currentId)
          devices_->setCurrentItem(devices_->topLevelItem(i));
    }
  }
  cancelled_ = true;
}

void FrmMCUList::LoadGroups() {
  groups_->clear();
  const QIcon closed = TreePicture("Closed.Bmp");
  const QIcon opened = TreePicture("Opened.Bmp");
  for (const BrandNode &brand : kvr::LoadGroups(catalogue_)) {
    auto *brandItem = new QTreeWidgetItem(groups_, {brand.name});
    brandItem->setData(0, kKeyRole, brand.key);
    brandItem->setIcon(0, closed);
    for (const RangeNode &range : brand.ranges) {
      auto *rangeItem = new QTreeWidgetItem(brandItem, {range.name});
      rangeItem->setData(0, kKeyRole, range.key);
      rangeItem->setIcon(0, closed);
    }
  }
  connect(groups_, &QTreeWidget::itemExpanded, this,
          [opened](QTreeWidgetItem *item) { item->setIcon(0, opened); });
  connect(groups_, &QTreeWidget::itemCollapsed, this,
          [closed](QTreeWidgetItem *item) { item->setIcon(0, closed); });
}

void FrmMCUList::LoadMcuList(int rangeNumber) {
  devices_->clear();
  for (const DeviceItem &device : kvr::LoadMcuList(catalogue_, rangeNumber)) {
    auto *item = new QTreeWidgetItem(
        devices_, {device.model, device.sizeKb, device.lockBits, device.dip, device.plcc});
    item->setData(0, kKeyRole, device.key);
  }
  for (int column = 0; column < devices_->columnCount(); ++column)
    devices_->resizeColumnToContents(column);
}

void FrmMCUList::TreeEvent() {
  const QTreeWidgetItem *node = groups_->currentItem();
  const QString key = node ? node->data(0, kKeyRole).toString() : QString();
  LoadMcuList(key.startsWith(QLatin1Char('R')) ? key.mid(1).toInt() : 0);
}

void FrmMCUList::Select() {
  const QTreeWidgetItem *item = devices_->currentItem();
  if (devices_->topLevelItemCount() == 0 || !item || item->text(0).isEmpty())
    return;
  chosenId_ = item->data(0, kKeyRole).toString().mid(1);
  cancelled_ = false;
  accept();
}

QTreeWidgetItem *FrmMCUList::FindNode(const QString &key) const {
  if (key.isEmpty())
    return nullptr;
  for (QTreeWidgetItemIterator it(groups_); *it; ++it)
    if ((*it)->data(0, kKeyRole).toString() == key)
      return *it;
  return nullptr;
}

std::optional<QString> FrmMCUList::Choose(const DatabaseHandlers &catalogue,
                                          const QString &currentId, QWidget *owner) {
  FrmMCUList window(catalogue, currentId, owner);
  window.exec();
  if (window.Cancelled())
    return std::nullopt;
  return window.ChosenId();
}

} // namespace kvr
