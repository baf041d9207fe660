#include "ConsoleUi.h"

#include "OperationSupport.h"
#include "SignatureVerification.h"
#include "SpecialByteForm.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <vector>

namespace kvr::cli {

namespace {
constexpr int kBarWidth = 30;

// Questions kvr-cli answers itself, whatever --yes says: a failed
// verification is not retried (running the command again is the retry), and
// a blanket --yes never programs a chip from a damaged file.
struct FixedAnswer {
  QString start; // of the question's text
  Answer answer;
  const char *why; // shown after the question; none: the question is not shown
};
const std::vector<FixedAnswer> &FixedAnswers() {
  static const std::vector<FixedAnswer> answers{
      {SignatureText::RetryQuestion, Answer::No, nullptr},
      {QStringLiteral("The selected file is damaged at line"), Answer::No,
       "a damaged file is not loaded."},
  };
  return answers;
}
} // namespace

QString OneLine(const QString &text) {
  static const QRegularExpression breaks(QStringLiteral("[\\r\\n]+"));
  return QString(text).replace(breaks, QStringLiteral(" ")).trimmed();
}

ConsoleUi::ConsoleUi(QTextStream &err, Verbosity verbosity, bool assumeYes, bool drawProgress)
    : err_(err), verbosity_(verbosity), assumeYes_(assumeYes), drawProgress_(drawProgress) {}

void ConsoleUi::PrintLine(const QString &line) {
  ClearBar();
  err_ << line << '\n';
  err_.flush();
}

void ConsoleUi::note(const QString &text) {
  ++failureLines_;
  PrintLine(QStringLiteral("kvr-cli: ") + text);
}

void ConsoleUi::info(const QString &text) {
  if (verbosity_ != Verbosity::Quiet)
    PrintLine(QStringLiteral("kvr-cli: ") + text);
}

void ConsoleUi::detail(const QString &text) {
  if (verbosity_ == Verbosity::Verbose)
    PrintLine(QStringLiteral("kvr-cli: ") + text);
}

void ConsoleUi::showMessage(const QString &text, MessageIcon icon, const QString &) {
  if (icon != MessageIcon::Information)
    ++failureLines_;
  else if (verbosity_ == Verbosity::Quiet)
    return;
  PrintLine(OneLine(text));
}

void ConsoleUi::RequireYes(const QString &text) {
  if (assumeYes_) {
    if (verbosity_ != Verbosity::Quiet)
      PrintLine(OneLine(text) + QStringLiteral(" Yes (--yes)"));
    return;
  }
  PrintLine(OneLine(text));
  note(QStringLiteral("this needs an answer: run again with --yes to answer Yes."));
  throw UnansweredQuestion{QStringLiteral("--yes")};
}

Answer ConsoleUi::ask(const QString &text, Buttons buttons, MessageIcon icon,
                      const QString &title) {
  for (const FixedAnswer &fixed : FixedAnswers()) {
    if (!text.startsWith(fixed.start))
      continue;
    if (fixed.why) {
      PrintLine(OneLine(text));
      note(QLatin1String(fixed.why));
    }
    return fixed.answer;
  }
  if (buttons == Buttons::Ok) {
    message(text, icon, title);
    return Answer::Ok;
  }
  RequireYes(text);
  return buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

std::optional<int> ConsoleUi::choosePort(int, PortMap &) {
  // kvr-cli names its port with --port; the port dialog never opens.
  return std::nullopt;
}

// kvr-cli names its files on the command line; the file dialogs never open.
std::optional<FileDialogChoice> ConsoleUi::chooseFileToOpen(const FileDialogRequest &) {
  return std::nullopt;
}

QString ConsoleUi::chooseFileToSave(const FileDialogRequest &) { return QString(); }

bool ConsoleUi::confirmPositioningTip(const QString &deviceId, int) {
  RequireYes(QStringLiteral("The %1 sits in the socket as the positioning tip of the window "
                            "shows. Continue?")
                 .arg(deviceId));
  return true;
}

bool ConsoleUi::showWarningWindow(WarningWindow window, bool &dontShowAgain) {
  dontShowAgain = false;
  // The window shows a doubled ampersand as one.
  RequireYes(WarningText(window).replace(QStringLiteral("&&"), QStringLiteral("&")));
  return true;
}

std::optional<std::array<bool, 4>> ConsoleUi::chooseLockBits(const LockBitsSetup &) {
  return lockBits_;
}

namespace {
bool Shown(const SpecialByteForm &form, const FormControlSpec &spec) {
  return form.isVisible(QLatin1String(spec.name)) &&
         (!*spec.frame || form.isVisible(QLatin1String(spec.frame)));
}

// A control's caption; a box or an unlabelled check box takes the label
// beside it in its frame (before a box, after a check box).
QString CaptionOf(const SpecialByteForm &form, size_t at) {
  const std::vector<FormControlSpec> &layout = SpecialByteLayout();
  const FormControlSpec &spec = layout[at];
  const QString own = form.text(QLatin1String(spec.name)).trimmed();
  if (spec.kind != FormControlKind::TextBox && !own.isEmpty())
    return own;
  const auto isLabel = [&](size_t i) {
    return layout[i].kind == FormControlKind::Label &&
           QLatin1String(layout[i].frame) == QLatin1String(spec.frame) && Shown(form, layout[i]);
  };
  if (spec.kind == FormControlKind::TextBox) {
    for (size_t i = at; i-- > 0;)
      if (isLabel(i))
        return form.text(QLatin1String(layout[i].name)).trimmed();
  } else {
    for (size_t i = at + 1; i < layout.size(); ++i)
      if (isLabel(i))
        return form.text(QLatin1String(layout[i].name)).trimmed();
  }
  return QLatin1String(spec.name);
}

QStringList DialogValues(const SpecialByteForm &form) {
  QStringList values;
  const std::vector<FormControlSpec> &layout = SpecialByteLayout();
  for (size_t i = 0; i < layout.size(); ++i) {
    const FormControlSpec &spec = layout[i];
    if (!Shown(form, spec))
      continue;
    const QString name = QLatin1String(spec.name);
    if (spec.kind == FormControlKind::TextBox)
      values.append(CaptionOf(form, i) + QStringLiteral(": ") + form.text(name));
    else if (spec.kind == FormControlKind::Option || spec.kind == FormControlKind::CheckBox)
      values.append(CaptionOf(form, i) +
                    (form.isChecked(name) ? QStringLiteral(": on") : QStringLiteral(": off")));
  }
  return values;
}
} // namespace

bool ConsoleUi::editSpecialByte(SpecialByteForm &form) {
  if (!specialBytesTyped_)
    specialByteValues_ = DialogValues(form);
  // Bytes the dialog refused are not offered again: Cancel.
  if (!specialBytes_ || specialBytesTyped_)
    return false;
  specialBytesTyped_ = true;
  form.Modify();
  QStringList boxes;
  for (const FormControlSpec &spec : SpecialByteLayout())
    if (spec.kind == FormControlKind::TextBox && form.isEditable(QLatin1String(spec.name)))
      boxes.append(QLatin1String(spec.name));
  if (boxes.size() != specialBytes_->size()) {
    note(QStringLiteral("the special byte dialog takes %1 byte(s) here, not %2.")
             .arg(boxes.size())
             .arg(specialBytes_->size()));
    throw UnansweredQuestion{QStringLiteral("HEXBYTES")};
  }
  for (qsizetype i = 0; i < boxes.size(); ++i) {
    form.TypeText(boxes[i], specialBytes_->at(i));
    form.LeaveText(boxes[i]);
  }
  return true;
}

void ConsoleUi::showFloatingMessage(const QString &text) {
  if (verbosity_ != Verbosity::Quiet)
    PrintLine(OneLine(text));
}

void ConsoleUi::processEvents() { QCoreApplication::processEvents(); }

void ConsoleUi::panelChanged(Panel panel, const QString &text) {
  if (verbosity_ != Verbosity::Verbose || panel != Panel::SbrActivity || text.isEmpty())
    return;
  // The exchange appends the seconds waited, and a read its byte count, to
  // the running operation's name: the progress bar tells the same.
  const QString tag = activityTag();
  if (!tag.isEmpty() && text != tag && text.startsWith(tag))
    return;
  // One line for a run of counts ("Writing - 64 Bytes", "Writing - 96 Bytes"...).
  static const QRegularExpression digits(QStringLiteral("\\d+"));
  const QString shape = QString(text).remove(digits);
  if (shape == lastStatus_)
    return;
  lastStatus_ = shape;
  PrintLine(text);
}

void ConsoleUi::progressChanged() {
  if (!drawProgress_)
    return;
  const int span = progressMaximum() - progressMinimum();
  if (span <= 0 || progressValue() <= progressMinimum()) {
    ClearBar();
    return;
  }
  const int done = qBound(0, progressValue() - progressMinimum(), span);
  const int percent = static_cast<int>(100LL * done / span);
  if (percent == barPercent_)
    return;
  barPercent_ = percent;
  const int filled = kBarWidth * percent / 100;
  err_ << '\r' << '[' << QString(filled, QLatin1Char('#'))
       << QString(kBarWidth - filled, QLatin1Char('.')) << "] " << percent << "% " << done << '/'
       << span;
  err_.flush();
  barShown_ = true;
}

void ConsoleUi::ClearBar() {
  barPercent_ = -1;
  if (!barShown_)
    return;
  // Back to the line's start, and erase it.
  err_ << "\r\x1b[K";
  err_.flush();
  barShown_ = false;
}

} // namespace kvr::cli
