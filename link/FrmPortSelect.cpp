#include "FrmPortSelect.h"

#include "PortMap.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kvr {

FrmPortSelect::FrmPortSelect(int currentPort, PortMap &ports, QWidget *owner)
    : QDialog(owner), ports_(ports) {
  setObjectName(QStringLiteral("FrmPortSelect"));
  if (owner) {
    setWindowTitle(owner->windowTitle());
    setWindowIcon(owner->windowIcon());
  }
  auto *grid = new QGridLayout;
  grid->setHorizontalSpacing(18);
  for (int n = PortMap::kFirstPort; n <= PortMap::kLastPort; ++n) {
    Row row{new QRadioButton(QStringLiteral("COM%1").arg(n), this), new QLabel(this),
            new QLabel(this)};
    row.option->setObjectName(QStringLiteral("ObnCom%1").arg(n));
    row.device->setObjectName(QStringLiteral("LblDevice%1").arg(n));
    row.description->setObjectName(QStringLiteral("LblDescription%1").arg(n));
    const int line = n - PortMap::kFirstPort;
    grid->addWidget(row.option, line, 0);
    grid->addWidget(row.device, line, 1);
    grid->addWidget(row.description, line, 2);
    rows_.append(row);
  }
  grid->setColumnStretch(2, 1);
  ShowPorts();
  if (currentPort >= PortMap::kFirstPort && currentPort <= PortMap::kLastPort)
    rows_[currentPort - PortMap::kFirstPort].option->setChecked(true);

  auto *refresh = new QPushButton(QStringLiteral("Refresh"), this);
  refresh->setObjectName(QStringLiteral("CmdRefresh"));
  auto *ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("CmdOk"));
  ok->setDefault(true);
  auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CmdCancel"));
  auto *buttons = new QDialogButtonBox(this);
  buttons->addButton(refresh, QDialogButtonBox::ResetRole);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  connect(refresh, &QPushButton::clicked, this, [this] {
    ports_.refresh();
    ShowPorts();
  });
  connect(ok, &QPushButton::clicked, this, [this] {
    cancelled_ = false;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void FrmPortSelect::ShowPorts() {
  for (int i = 0; i < rows_.size(); ++i) {
    const Row &row = rows_[i];
    const PortEntry &entry = ports_.entry(i + PortMap::kFirstPort);
    row.device->setText(DeviceText(entry));
    row.description->setText(DescriptionText(entry));
    const QString source = PortSourceText(entry);
    for (QWidget *widget : {static_cast<QWidget *>(row.option), static_cast<QWidget *>(row.device),
                            static_cast<QWidget *>(row.description)}) {
      widget->setEnabled(entry.present);
      widget->setToolTip(source);
    }
  }
}

std::optional<int> FrmPortSelect::SelectedPort() const {
  for (int i = 0; i < rows_.size(); ++i)
    if (rows_[i].option->isChecked())
      return i + PortMap::kFirstPort;
  return std::nullopt;
}

std::optional<int> FrmPortSelect::Choose(int currentPort, PortMap &ports, QWidget *owner) {
  FrmPortSelect dialog(currentPort, ports, owner);
  dialog.exec();
  if (dialog.Cancelled())
    return std::nullopt;
  // OK with nothing selected keeps the current port.
  return dialog.SelectedPort().value_or(currentPort);
}

} // namespace kvr
