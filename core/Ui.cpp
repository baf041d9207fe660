#include "Ui.h"

#include <QtGlobal>

namespace kvr {

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
