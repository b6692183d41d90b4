#include "ui/layout_scale.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace vormek {

double FitFactor(QSize size, QSize available, QSize frame) {
  if (size.isEmpty()) return 1.0;
  const double across = static_cast<double>(available.width() - frame.width()) / size.width();
  const double down = static_cast<double>(available.height() - frame.height()) / size.height();
  return std::clamp(std::min(across, down), 0.1, 1.0);
}

int ScaledLength(int length, double factor) { return static_cast<int>(std::lround(length * factor)); }

QRect ScaledRect(const QRect& rect, double factor) {
  const int left = ScaledLength(rect.left(), factor);
  const int top = ScaledLength(rect.top(), factor);
  const int right = ScaledLength(rect.left() + rect.width(), factor);
  const int bottom = ScaledLength(rect.top() + rect.height(), factor);
  return {left, top, right - left, bottom - top};
}

namespace {

// Font sizes round down: a text never grows against the box it was sized for.
int ScaledFontPixels(int pixels, double factor) {
  return std::max(1, static_cast<int>(std::floor(pixels * factor + 1e-9)));
}

bool InLayout(const QWidget& widget) {
  const QWidget* parent = widget.parentWidget();
  return parent && parent->layout() && parent->layout()->indexOf(&widget) >= 0;
}

// A widget as it was before scaling: everything is read before anything
// changes, so that a parent's new font or size cannot leak into a child's.
struct TBefore {
  QWidget* Widget;
  QRect Geometry;
  QSize Minimum, Maximum;
  int FontPixels;  // 0 when the font is not the widget's own or has no pixel size
  QSize IconSize;
};

void Collect(QWidget& parent, std::vector<TBefore>& out) {
  for (QWidget* child : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    TBefore before{child, child->geometry(), child->minimumSize(), child->maximumSize(), 0, {}};
    if (child->testAttribute(Qt::WA_SetFont)) before.FontPixels = std::max(0, child->font().pixelSize());
    if (const auto* button = qobject_cast<QAbstractButton*>(child)) before.IconSize = button->iconSize();
    out.push_back(before);
    Collect(*child, out);
  }
}

int ScaledLimit(int length, double factor) {
  if (length <= 0 || length >= QWIDGETSIZE_MAX) return length;
  return std::max(1, ScaledLength(length, factor));
}

}  // namespace

void ScaleWidgetTree(QWidget& root, double factor) {
  if (factor == 1.0) return;
  std::vector<TBefore> widgets;
  const int rootPixels = root.testAttribute(Qt::WA_SetFont) ? root.font().pixelSize() : 0;
  Collect(root, widgets);

  if (rootPixels > 0) {
    QFont font = root.font();
    font.setPixelSize(ScaledFontPixels(rootPixels, factor));
    root.setFont(font);
  }
  for (const TBefore& w : widgets) {
    if (w.FontPixels > 0) {
      QFont font = w.Widget->font();
      font.setPixelSize(ScaledFontPixels(w.FontPixels, factor));
      w.Widget->setFont(font);
    }
    if (w.IconSize.isValid()) {
      static_cast<QAbstractButton*>(w.Widget)->setIconSize(
          QSize(ScaledLength(w.IconSize.width(), factor), ScaledLength(w.IconSize.height(), factor)));
    }
    if (auto* label = qobject_cast<QLabel*>(w.Widget); label && !label->pixmap().isNull())
      label->setScaledContents(true);
    w.Widget->setMinimumSize(ScaledLimit(w.Minimum.width(), factor), ScaledLimit(w.Minimum.height(), factor));
    w.Widget->setMaximumSize(ScaledLimit(w.Maximum.width(), factor), ScaledLimit(w.Maximum.height(), factor));
    if (InLayout(*w.Widget)) continue;
    QRect geometry = ScaledRect(w.Geometry, factor);
    // A check box cut below its box's height would hide the box.
    if (qobject_cast<QCheckBox*>(w.Widget)) {
      const int need = w.Widget->sizeHint().height();
      if (geometry.height() < need) {
        geometry.setTop(geometry.center().y() - need / 2);
        geometry.setHeight(need);
      }
    }
    w.Widget->setGeometry(geometry);
  }
  const QSize minimum = root.minimumSize();
  const QSize maximum = root.maximumSize();
  const QSize size = root.size();
  root.setMinimumSize(ScaledLimit(minimum.width(), factor), ScaledLimit(minimum.height(), factor));
  root.setMaximumSize(ScaledLimit(maximum.width(), factor), ScaledLimit(maximum.height(), factor));
  root.resize(ScaledLength(size.width(), factor), ScaledLength(size.height(), factor));
}

}  // namespace vormek
