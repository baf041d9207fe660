#include "WindowFit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kvr {

QRect FitToArea(const QRect &wanted, const QRect &available, const QMargins &frame) {
  const QRect room = available.marginsRemoved(frame);
  QRect placed(wanted.topLeft(), wanted.size().boundedTo(room.size()));
  // Pulled back inside the room where it sticks out.
  placed.moveRight(std::min(placed.right(), room.right()));
  placed.moveBottom(std::min(placed.bottom(), room.bottom()));
  placed.moveLeft(std::max(placed.left(), room.left()));
  placed.moveTop(std::max(placed.top(), room.top()));
  return placed;
}

int TitleWidth(const QWidget &window) {
  // Title bars use a bold face, often a size larger than the window's text;
  // the frame's icon and its three buttons take about six lines' height.
  QFont font = window.font();
  font.setBold(true);
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(window.windowTitle()) * 5 / 4 + 6 * metrics.height();
}

namespace {
bool HasTitleBar(const QWidget &widget) {
  if (!widget.isWindow())
    return false;
  const Qt::WindowType type = widget.windowType();
  return (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool) &&
         !widget.windowFlags().testFlag(Qt::FramelessWindowHint);
}

void WidenForTitle(QWidget &window) {
  int needed = TitleWidth(window);
  if (const QScreen *screen = window.screen())
    needed = std::min(needed, screen->availableGeometry().width() - kFrameAllowance.left() -
                                  kFrameAllowance.right());
  if (window.minimumWidth() < needed)
    window.setMinimumWidth(std::max(needed, window.minimumSizeHint().width()));
  if (window.width() < needed)
    window.resize(needed, window.height());
}
} // namespace

TitleWidthGuard::TitleWidthGuard(QObject *parent) : QObject(parent) {
  qApp->installEventFilter(this);
}

bool TitleWidthGuard::eventFilter(QObject *watched, QEvent *event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::Show || type == QEvent::WindowTitleChange) {
    auto *widget = qobject_cast<QWidget *>(watched);
    if (widget && HasTitleBar(*widget) && (type == QEvent::Show || widget->isVisible()))
      WidenForTitle(*widget);
  }
  return QObject::eventFilter(watched, event);
}

} // namespace kvr
