#pragma once
// Windows laid out by hand at fixed pixel positions, scaled as a whole when
// they do not fit the screen: positions, sizes, fixed widths, fonts, icons
// and pictures alike.
#include <QRect>
#include <QSize>

class QWidget;

namespace vormek {

// The factor (at most 1) that fits a window of `size` with its frame
// (`frame`: the room a window manager's border and title take) into the
// screen's available area.
double FitFactor(QSize size, QSize available, QSize frame);

// A length or rectangle at `factor`; the edges are scaled, so that
// neighbours that touched still touch.
int ScaledLength(int length, double factor);
QRect ScaledRect(const QRect& rect, double factor);

// Scales every widget below `root` that is placed by hand (geometry), and in
// a layout its fixed widths and heights; fonts set on a widget (rounded down,
// so that no text outgrows its box), button icons and pictures; then the
// root's own fixed size. Popups and other windows
// below it are left alone. A check box keeps at least the height its box
// needs.
void ScaleWidgetTree(QWidget& root, double factor);

}  // namespace vormek
