#include "FrmWarnings.h"

#include "LockAuto.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvr {

QString WarningText(WarningWindow window) {
  switch (window) {
  case WarningWindow::Erase:
    return QStringLiteral("ChipErase will Erase Block#1 also.\rBlock#1 contains the ISP Boot Hex "
                          "code.\rTo Enable ISP after ChipErase,\rWrite file - "
                          "philips_ice_block_1.hex,\rin folder  - ..\\Program "
                          "Files\\Torvane\\Kvr 1.04\\ into Block#1.\n\rCONTINUE? (Y/N)");
  case WarningWindow::Lock:
    return QStringLiteral(
        "Have you entered the Serial no. && length?\rElse, your user code can still be Read in "
        "ISP.\rPlease enter the Serial no., in Hex, at 1F01H-1F1FH in Block#1\rits length, in "
        "Hex, at 1F00H in Block#1.\rAlso, keep the SoftICE flag byte=00H, at 1F20H in Block#1, "
        "to enable ISP.\rIf SoftICE flag byte=FFH, then ISP will be disabled.\rCONTINUE? (Y/N)");
  case WarningWindow::Auto:
    return QStringLiteral("Block#1 will be erased.\rBlock#1 contains the ISP Boot Hex "
                          "code.\rTo Enable ISP after ChipErase,\rWrite file - "
                          "philips_ice_block_1.hex,\rin folder  - ..\\Program "
                          "Files\\Torvane\\Kvr 1.04\\ into Block#1.\rCONTINUE? (Y/N)");
  }
  return QString();
}

namespace {
const char *WindowName(WarningWindow window) {
  switch (window) {
  case WarningWindow::Erase: return "FrmTipErease";
  case WarningWindow::Lock: return "FrmTipLock";
  case WarningWindow::Auto: return "FrmTipAuto";
  }
  return "";
}

// CR separates lines; "&&" shows one ampersand.
QString LabelText(QString text) {
  text.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QStringLiteral("&&"), QStringLiteral("&"));
  return text;
}
} // namespace

FrmTipWarning::FrmTipWarning(WarningWindow window, QWidget *owner) : QDialog(owner) {
  setObjectName(QLatin1String(WindowName(window)));
  setWindowTitle(kAppTitle);
  if (owner)
    setWindowIcon(owner->windowIcon());
  auto *heading = new QLabel(QStringLiteral("Warning !!"), this);
  heading->setObjectName(QStringLiteral("Label1"));
  auto *text = new QLabel(LabelText(WarningText(window)), this);
  text->setObjectName(QStringLiteral("Label2"));
  dontDisplay_ = new QCheckBox(QStringLiteral("Don't display this message again"), this);
  dontDisplay_->setObjectName(QStringLiteral("Check1"));
  auto *yes = new QPushButton(QStringLiteral("&Yes"), this);
  yes->setObjectName(QStringLiteral("CmdOk"));
  auto *no = new QPushButton(QStringLiteral("&No"), this);
  no->setObjectName(QStringLiteral("CmdNo"));
  connect(yes, &QPushButton::clicked, this, [this] {
    yes_ = true;
    accept();
  });
  connect(no, &QPushButton::clicked, this, &QDialog::reject);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(yes);
  buttons->addWidget(no);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(text);
  layout->addWidget(dontDisplay_);
  layout->addLayout(buttons);
}

bool FrmTipWarning::DontDisplayAgain() const { return dontDisplay_->isChecked(); }

FrmSetLockBits::FrmSetLockBits(const LockBitsSetup &setup, QWidget *owner) : QDialog(owner) {
  setObjectName(QStringLiteral("FrmSetLockBits"));
  setWindowTitle(owner ? owner->windowTitle() : kAppTitle);
  auto *layout = new QVBoxLayout(this);
  for (int i = 0; i < 4; ++i) {
    boxes_[i] = new QCheckBox(setup.captions[i], this);
    boxes_[i]->setObjectName(QStringLiteral("CbxLockBit%1").arg(i + 1));
    boxes_[i]->setEnabled(setup.enabled[i]);
    layout->addWidget(boxes_[i]);
  }
  auto *ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("CmdOk"));
  auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("CmdCancel"));
  connect(ok, &QPushButton::clicked, this, [this] {
    if (!LockBitsChoiceValid(Ticked())) {
      QMessageBox::warning(this, kAppTitle, LockText::NoBitChosen);
      return;
    }
    cancelled_ = false;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto *buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
}

std::array<bool, 4> FrmSetLockBits::Ticked() const {
  std::array<bool, 4> ticked{};
  for (int i = 0; i < 4; ++i)
    ticked[i] = boxes_[i]->isEnabled() && boxes_[i]->isChecked();
  return ticked;
}

std::optional<std::array<bool, 4>> FrmSetLockBits::Choose(const LockBitsSetup &setup,
                                                          QWidget *owner) {
  FrmSetLockBits dialog(setup, owner);
  dialog.exec();
  if (dialog.Cancelled())
    return std::nullopt;
  return dialog.Ticked();
}

} // namespace kvr
