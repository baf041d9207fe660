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
    recentWarnings_.append({text, lastMessageAt_});
    if (recentWarnings_.size() > kRecentWarnings)
      recentWarnings_.removeFirst();
  }
  showMessage(text, icon, title);
}

qsizetype Ui::recentWarningsSince(int count) const {
  return std::clamp<qsizetype>(warningCount_ - count, 0, recentWarnings_.size());
}

QStringList Ui::warningsSince(int count) const {
  QStringList texts;
  for (qsizetype i = recentWarnings_.size() - recentWarningsSince(count);
       i < recentWarnings_.size(); ++i)
    texts.append(recentWarnings_[i].text);
  return texts;
}

std::optional<std::chrono::steady_clock::time_point> Ui::firstWarningAfter(int count) const {
  const qsizetype shown = recentWarningsSince(count);
  if (shown == 0)
    return std::nullopt;
  return recentWarnings_[recentWarnings_.size() - shown].at;
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
