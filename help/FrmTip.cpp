#include "FrmTip.h"

#include "Ui.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvr {

FrmTip::FrmTip(QWidget *owner) : QDialog(owner) {
  setObjectName(QStringLiteral("FrmTip"));
  setWindowTitle(owner ? owner->windowTitle() : kAppTitle);
  if (owner)
    setWindowIcon(owner->windowIcon());
  auto *heading = new QLabel(WarningWindowText::Heading, this);
  heading->setObjectName(QStringLiteral("Label1"));
  // "&&" of the tip text is one ampersand on screen; a plain label shows it as it is.
  auto *text = new QLabel(QStringLiteral("1. Power On Programmer & then Insert MCU.\n"
                                         "2. Remove MCU & then Power Off Programmer."),
                          this);
  text->setObjectName(QStringLiteral("Label2"));
  dontDisplay_ = new QCheckBox(WarningWindowText::DontDisplayAgain, this);
  dontDisplay_->setObjectName(QStringLiteral("Check1"));
  auto *close = new QPushButton(QStringLiteral("Close"), this);
  close->setObjectName(QStringLiteral("Command2"));
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(text);
  layout->addWidget(dontDisplay_);
  layout->addWidget(close);
}

bool FrmTip::DontDisplayAgain() const { return dontDisplay_->isChecked(); }

bool FrmTip::Show(QWidget *owner) {
  FrmTip tip(owner);
  tip.exec();
  return tip.DontDisplayAgain();
}

} // namespace kvr
