#include "ConsoleUi.h"

#include "OperationSupport.h"
#include "SignatureVerification.h"

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

void ConsoleUi::note(const QString &text) { PrintLine(QStringLiteral("kvr-cli: ") + text); }

void ConsoleUi::info(const QString &text) {
  if (verbosity_ != Verbosity::Quiet)
    note(text);
}

void ConsoleUi::detail(const QString &text) {
  if (verbosity_ == Verbosity::Verbose)
    note(text);
}

void ConsoleUi::message(const QString &text, MessageIcon icon, const QString &) {
  if (verbosity_ == Verbosity::Quiet && icon == MessageIcon::Information)
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

std::optional<int> ConsoleUi::choosePort(int, const PortMap &) {
  // kvr-cli names its port with --port; the port dialog never opens.
  return std::nullopt;
}

// kvr-cli names its files on the command line; the file dialogs never open.
std::optional<FileDialogChoice> ConsoleUi::chooseFileToOpen(const FileDialogRequest &) {
  return std::nullopt;
}

QString ConsoleUi::chooseFileToSave(const FileDialogRequest &) { return QString(); }

bool ConsoleUi::confirmPositioningTip(const QString &deviceId) {
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
