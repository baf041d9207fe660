#include "FrmSpecialTip.h"

#include "Ui.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvr {

QString SeatingText(int item) {
  switch (item) {
  case 0:
    return QStringLiteral(
        "This is a 14pin Mcu.\rLeave 2 Rows at the Top\rand\rLeave 1 Row at the Bottom");
  case 1:
    return QStringLiteral(
        "This is a 16pin Mcu.\rLeave 1 Row at the Top\rand\rLeave 1 Row at the Bottom");
  default: return QString();
  }
}

FrmSpecialTip::FrmSpecialTip(int chip, QWidget *owner) : QDialog(owner) {
  setObjectName(QStringLiteral("FrmSpecialTip"));
  setWindowTitle(owner ? owner->windowTitle() : kAppTitle);
  if (owner)
    setWindowIcon(owner->windowIcon());

  auto *picture = new QLabel(QStringLiteral("[ socket: chip at the rows shown ]"), this);
  picture->setObjectName(QStringLiteral("Picture1"));
  auto *caption = new QLabel(QStringLiteral("MCU"), this);
  caption->setObjectName(QStringLiteral("Label1"));
  mcu_ = new QComboBox(this);
  mcu_->setObjectName(QStringLiteral("CboMCU"));
  mcu_->addItems({QStringLiteral("87LPC760"), QStringLiteral("87LPC761")});
  mcu_->setCurrentIndex(-1);
  tip_ = new QLabel(QStringLiteral("Label1"), this);
  tip_->setObjectName(QStringLiteral("LblTip"));
  auto *proceed = new QPushButton(QStringLiteral("Continue"), this);
  proceed->setObjectName(QStringLiteral("Command1"));
  auto *exit = new QPushButton(QStringLiteral("Exit"), this);
  exit->setObjectName(QStringLiteral("Command2"));

  connect(mcu_, &QComboBox::currentIndexChanged, this, &FrmSpecialTip::ShowTipFor);
  connect(proceed, &QPushButton::clicked, this, [this] {
    proceed_ = true;
    accept();
  });
  connect(exit, &QPushButton::clicked, this, [this] {
    proceed_ = false;
    reject();
  });

  auto *choice = new QHBoxLayout;
  choice->addWidget(caption);
  choice->addWidget(mcu_);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(proceed);
  buttons->addWidget(exit);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(picture);
  layout->addLayout(choice);
  layout->addWidget(tip_);
  layout->addLayout(buttons);

  mcu_->setCurrentIndex(chip);
}

void FrmSpecialTip::ShowTipFor(int item) {
  if (item < 0)
    return;
  QString text = SeatingText(item);
  tip_->setText(text.replace(QLatin1Char('\r'), QLatin1Char('\n')));
}

QString FrmSpecialTip::TipText() const { return tip_->text(); }

bool FrmSpecialTip::Ask(int chip, QWidget *owner) {
  FrmSpecialTip tip(chip, owner);
  tip.exec();
  return tip.Proceed();
}

} // namespace kvr
