#pragma once

#include <QMargins>
#include <QObject>
#include <QRect>

class QWidget;

namespace kvr {

// Room a window manager's frame takes around a window: borders and title bar.
inline constexpr QMargins kFrameAllowance{8, 32, 8, 8};

// The wanted window rectangle moved and shrunk as little as needed for the
// window, frame included, to lie within a screen's available area.
QRect FitToArea(const QRect &wanted, const QRect &available,
                const QMargins &frame = kFrameAllowance);

// The width a window needs for its whole title and the frame's buttons beside it.
int TitleWidth(const QWidget &window);

// Keeps every window of the program at least as wide as its title, so that no
// title bar shows a clipped caption. Watches the whole application while it lives.
class TitleWidthGuard : public QObject {
  Q_OBJECT
public:
  explicit TitleWidthGuard(QObject *parent = nullptr);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace kvr
