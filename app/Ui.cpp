#include "Ui.h"

namespace kvr {

void Ui::setPanelText(Panel panel, const QString &text) {
  panels_.insert(panel, text);
  panelChanged(panel, text);
}

void Ui::setActivity(const QString &textAndTag) {
  activityTag_ = textAndTag;
  setPanelText(Panel::SbrActivity, textAndTag);
}

} // namespace kvr
