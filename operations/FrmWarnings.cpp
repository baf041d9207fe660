#include "FrmWarnings.h"

#include "LockAuto.h"
#include "OperationSupport.h"
#include "Ui.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace kvr {

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
  auto *heading = new QLabel(WarningWindowText::Heading, this);
  heading->setObjectName(QStringLiteral("Label1"));
  auto *text = new QLabel(LabelText(WarningText(window)), this);
  text->setObjectName(QStringLiteral("Label2"));
  dontDisplay_ = new QCheckBox(WarningWindowText::DontDisplayAgain, this);
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
