#pragma once

#include "Session.h"
#include "SpecialNumbers.h"

#include <QHash>
#include <QString>

#include <optional>
#include <vector>

namespace kvr {

namespace SpecialByteText {
inline const QString Unlocked = QStringLiteral("Ensure MCU is Unlocked before Modifying.");
inline const QString InvalidHex =
    QStringLiteral("InCorrect Input !! Not a Valid Hexadecimal Number");
} // namespace SpecialByteText

enum class FormControlKind { Frame, Label, TextBox, Option, CheckBox, Button };

// A control of FrmSpecialByte as designed: inside a frame or on the window.
struct FormControlSpec {
  const char *name;
  const char *frame; // "" on the window itself
  FormControlKind kind;
  const char *caption;
  bool visible;
  bool enabled;
};

// Every control of the dialog, in the order the window lays them out.
const std::vector<FormControlSpec> &SpecialByteLayout();

// The special byte dialog without its window: the state of every control by
// name, the layout by command number, what Modify unlocks by family and what
// OK sends by number. FrmSpecialByte renders it and hands the user's actions
// to it; the engine sends what Ok() returns.
class SpecialByteForm {
public:
  struct Control {
    bool visible = true;
    bool enabled = true;
    QString text; // caption, or what a text box holds
    bool checked = false;
  };

  // What OK sends: a set command, or special bytes given as hex text.
  struct Send {
    enum class Kind { Nothing, SetCommand, WriteBytes };
    Kind kind = Kind::Nothing;
    QString number;
    QString hexText;
  };

  SpecialByteForm(const SelectedMcu &mcu, const SpecialByteSlots &held);

  // The number the slots were read with, before the dialog loads.
  void LStrCommandNumber(const QString &number) { number_ = number.trimmed(); }
  QString CommandNumber() const { return number_; }

  // The dialog as it opens: laid out for the number, read-only.
  void Load();
  // CmdModify: unlocks what the selected family may change, and OK.
  void Modify();
  // Typing into a special byte box: letters turn upper case.
  void TypeText(const QString &box, const QString &text);
  // Leaving a special byte box: trimmed, a lone digit gets its leading "0".
  void LeaveText(const QString &box);
  // Ticks a check box, or selects an option button (deselecting the other).
  void SetChecked(const QString &name, bool checked);

  // Sets the input-valid flag: every special byte the OK of this number sends
  // from the "Special Bytes" frame is two hex digits.
  void ValidateInput();
  bool InputValid() const { return inputValid_; }

  // CmdOk: what to send, or nothing when the input is refused and the dialog
  // stays open (the engine shows SpecialByteText::InvalidHex).
  std::optional<Send> Ok();

  const Control &control(const QString &name) const;
  bool isVisible(const QString &name) const { return control(name).visible; }
  bool isEnabled(const QString &name) const { return control(name).enabled; }
  bool isChecked(const QString &name) const { return control(name).checked; }
  QString text(const QString &name) const { return control(name).text; }
  // Visible and enabled, and so is its frame: the user can change it.
  bool isEditable(const QString &name) const;

private:
  Control &at(const QString &name);
  void setVisible(const std::vector<const char *> &names, bool visible);
  void setEnabled(const std::vector<const char *> &names, bool enabled);
  void LoadValues(int initial);
  bool AllHexBytes(const std::vector<const char *> &boxes) const;
  QString ComposeText(int composition) const;

  SelectedMcu mcu_;
  SpecialByteSlots slots_;
  QString number_;
  QHash<QString, Control> controls_;
  bool inputValid_ = false;
};

} // namespace kvr
