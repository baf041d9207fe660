#include "FrmPortSelect.h"

#include "PortMap.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kvr {

FrmPortSelect::FrmPortSelect(int currentPort, const PortMap &ports, QWidget *owner)
    : QDialog(owner) {
  setObjectName(QStringLiteral("FrmPortSelect"));
  if (owner) {
    setWindowTitle(owner->windowTitle());
    setWindowIcon(owner->windowIcon());
  }
  auto *grid = new QGridLayout;
  for (int n = PortMap::kFirstPort; n <= PortMap::kLastPort; ++n) {
    auto *option =
        new QRadioButton(QStringLiteral("COM%1  (%2)").arg(n).arg(ports.pathFor(n)), this);
    option->setObjectName(QStringLiteral("ObnCom%1").arg(n));
    option->setChecked(n == currentPort);
    grid->addWidget(option, (n - 1) % 8, (n - 1) / 8);
    options_.append(option);
  }
  auto *ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("CmdOk"));
  ok->setDefault(true);
  auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CmdCancel"));
  auto *buttons = new QDialogButtonBox(this);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  connect(ok, &QPushButton::clicked, this, [this] {
    cancelled_ = false;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

std::optional<int> FrmPortSelect::SelectedPort() const {
  for (int i = 0; i < options_.size(); ++i)
    if (options_[i]->isChecked())
      return i + PortMap::kFirstPort;
  return std::nullopt;
}

std::optional<int> FrmPortSelect::Choose(int currentPort, const PortMap &ports, QWidget *owner) {
  FrmPortSelect dialog(currentPort, ports, owner);
  dialog.exec();
  if (dialog.Cancelled())
    return std::nullopt;
  // OK with nothing selected keeps the current port.
  return dialog.SelectedPort().value_or(currentPort);
}

} // namespace kvr
