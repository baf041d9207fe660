#include "FrmSpecialByte.h"

#include "SpecialByteForm.h"
#include "Ui.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kvr {

namespace {
constexpr int kHexDigits = 2;
constexpr int kLongCaption = 30;

QWidget *MakeControl(const FormControlSpec &spec, QWidget *parent) {
  const QString caption = QString::fromUtf8(spec.caption);
  switch (spec.kind) {
  case FormControlKind::Frame: return new QGroupBox(caption, parent);
  case FormControlKind::Label: {
    auto *label = new QLabel(caption, parent);
    // The notes wrap; a field's name stays on its line.
    label->setWordWrap(caption.size() > kLongCaption);
    return label;
  }
  case FormControlKind::TextBox: {
    auto *box = new QLineEdit(parent);
    box->setMaxLength(kHexDigits);
    return box;
  }
  case FormControlKind::Option: {
    auto *option = new QRadioButton(caption, parent);
    // The form keeps the two options one choice.
    option->setAutoExclusive(false);
    return option;
  }
  case FormControlKind::CheckBox: return new QCheckBox(caption, parent);
  case FormControlKind::Button: return new QPushButton(caption, parent);
  }
  return nullptr;
}

// A label with the box it names, or a check box with its label, share a row.
bool SharesRowWithPrevious(const FormControlSpec &previous, const FormControlSpec &spec) {
  return (previous.kind == FormControlKind::Label && spec.kind == FormControlKind::TextBox) ||
         (previous.kind == FormControlKind::CheckBox && spec.kind == FormControlKind::Label &&
          QByteArray(previous.caption).isEmpty());
}
} // namespace

FrmSpecialByte::FrmSpecialByte(SpecialByteForm &form, QWidget *owner, std::function<bool()> takeOk)
    : QDialog(owner), form_(form), takeOk_(std::move(takeOk)) {
  setObjectName(QStringLiteral("FrmSpecialByte"));
  setWindowTitle(owner ? owner->windowTitle() : kAppTitle);
  if (owner)
    setWindowIcon(owner->windowIcon());

  auto *layout = new QVBoxLayout(this);
  auto *buttons = new QHBoxLayout;
  QHash<QString, QVBoxLayout *> frames;
  QHBoxLayout *row = nullptr;
  const FormControlSpec *previous = nullptr;
  for (const FormControlSpec &spec : SpecialByteLayout()) {
    const QString name = QLatin1String(spec.name);
    const QString frameName = QLatin1String(spec.frame);
    QWidget *parent = frameName.isEmpty() ? this : controls_.value(frameName);
    QWidget *control = MakeControl(spec, parent);
    control->setObjectName(name);
    controls_.insert(name, control);

    if (spec.kind == FormControlKind::Frame) {
      frames.insert(name, new QVBoxLayout(control));
      layout->addWidget(control);
    } else if (spec.kind == FormControlKind::Button) {
      buttons->addWidget(control);
    } else if (QVBoxLayout *frame = frames.value(frameName)) {
      if (!row || !previous || !SharesRowWithPrevious(*previous, spec)) {
        row = new QHBoxLayout;
        frame->addLayout(row);
      }
      row->addWidget(control);
    }
    previous = &spec;

    if (auto *box = qobject_cast<QLineEdit *>(control)) {
      connect(box, &QLineEdit::textEdited, this, [this, name](const QString &text) {
        form_.TypeText(name, text);
        Render();
      });
      connect(box, &QLineEdit::editingFinished, this, [this, name] {
        form_.LeaveText(name);
        Render();
      });
    } else if (auto *button = qobject_cast<QAbstractButton *>(control);
               button && spec.kind != FormControlKind::Button) {
      button->setCheckable(true);
      connect(button, &QAbstractButton::clicked, this, [this, name](bool checked) {
        form_.SetChecked(name, checked);
        Render();
      });
    }
  }
  layout->addLayout(buttons);

  connect(static_cast<QPushButton *>(controls_.value(QStringLiteral("CmdModify"))),
          &QPushButton::clicked, this, [this] {
            form_.Modify();
            Render();
          });
  connect(static_cast<QPushButton *>(controls_.value(QStringLiteral("CmdOk"))),
          &QPushButton::clicked, this, [this] {
            if (!takeOk_ || takeOk_())
              accept();
            else
              Render(); // the form may have tidied what was typed
          });
  connect(static_cast<QPushButton *>(controls_.value(QStringLiteral("CmdCancel"))),
          &QPushButton::clicked, this, &QDialog::reject);
  Render();
}

void FrmSpecialByte::Render() {
  for (auto it = controls_.constBegin(); it != controls_.constEnd(); ++it) {
    const QString &name = it.key();
    QWidget *control = it.value();
    const QSignalBlocker quiet(control);
    control->setVisible(form_.isVisible(name));
    control->setEnabled(form_.isEnabled(name));
    if (auto *box = qobject_cast<QLineEdit *>(control)) {
      if (box->text() != form_.text(name)) {
        const int cursor = box->cursorPosition();
        box->setText(form_.text(name));
        box->setCursorPosition(cursor);
      }
    } else if (auto *label = qobject_cast<QLabel *>(control)) {
      label->setText(form_.text(name));
    } else if (auto *box = qobject_cast<QGroupBox *>(control)) {
      box->setTitle(form_.text(name));
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
      if (button->isCheckable())
        button->setChecked(form_.isChecked(name));
    }
  }
}

bool FrmSpecialByte::Edit(SpecialByteForm &form, QWidget *owner, std::function<bool()> takeOk) {
  FrmSpecialByte dialog(form, owner, std::move(takeOk));
  return dialog.exec() == QDialog::Accepted;
}

} // namespace kvr
