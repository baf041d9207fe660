#include "Ui.h"

#include <QtGlobal>

#include <algorithm>

namespace kvr {

namespace {
// Enough for every warning of one operation.
constexpr qsizetype kRecentWarnings = 8;
} // namespace

void Ui::message(const QString &text, MessageIcon icon, const QString &title) {
  // Noted as it comes up: a window's box waits for the user.
  lastMessageAt_ = std::chrono::steady_clock::now();
  if (icon == MessageIcon::Exclamation || icon == MessageIcon::Critical) {
    ++warningCount_;
    recentWarnings_.append(text);
    recentWarningTimes_.append(lastMessageAt_);
    if (recentWarnings_.size() > kRecentWarnings) {
      recentWarnings_.removeFirst();
      recentWarningTimes_.removeFirst();
    }
  }
  showMessage(text, icon, title);
}

QStringList Ui::warningsSince(int count) const {
  const qsizetype shown = std::min<qsizetype>(warningCount_ - count, recentWarnings_.size());
  return shown > 0 ? recentWarnings_.mid(recentWarnings_.size() - shown) : QStringList();
}

std::optional<std::chrono::steady_clock::time_point> Ui::firstWarningAfter(int count) const {
  const qsizetype shown = std::min<qsizetype>(warningCount_ - count, recentWarnings_.size());
  if (shown <= 0)
    return std::nullopt;
  return recentWarningTimes_[recentWarningTimes_.size() - shown];
}

void Ui::setPanelText(Panel panel, const QString &text) {
  panels_.insert(panel, text);
  panelChanged(panel, text);
}

void Ui::setPanelToolTip(Panel panel, const QString &text) {
  panelToolTips_.insert(panel, text);
  panelToolTipChanged(panel, text);
}

void Ui::setActivity(const QString &textAndTag) {
  activityTag_ = textAndTag;
  setPanelText(Panel::SbrActivity, textAndTag);
}

void Ui::setProgressRange(int minimum, int maximum) {
  progressMinimum_ = minimum;
  progressMaximum_ = maximum;
  progressValue_ = qBound(minimum, progressValue_, maximum);
  progressChanged();
}

void Ui::setProgressValue(int value) {
  progressValue_ = value;
  progressChanged();
}

bool Ui::specialByteDialog(SpecialByteForm &form, const std::function<bool()> &takeOk) {
  while (editSpecialByte(form))
    if (takeOk())
      return true;
  return false;
}

} // namespace kvr
