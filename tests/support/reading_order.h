#pragma once
// A window's tab stops against the order in which its controls read: lines
// from top to bottom, each left to right. Tab goes round, so the chain may
// start anywhere in that order; it must only never jump back or skip.
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace vormek::testing {

// The controls Tab stops at, in the order Tab visits them from `first` (an
// editor inside a box counts as its box).
inline std::vector<QWidget*> TabChain(QWidget& window, QWidget* first) {
  std::vector<QWidget*> chain;
  QWidget* w = first;
  do {
    const bool inside =
        qobject_cast<QComboBox*>(w->parentWidget()) || qobject_cast<QAbstractSpinBox*>(w->parentWidget());
    if (!inside && (w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&window) && w->isEnabled() &&
        w->window() == &window && w != &window)
      chain.push_back(w);
    w = w->nextInFocusChain();
  } while (w != first && chain.size() < 200);
  return chain;
}

// The same controls in reading order: sorted by their middle's height into
// lines (a control whose middle lies within a line's extent joins it), each
// line left to right.
inline std::vector<QWidget*> ReadingOrder(QWidget& window, std::vector<QWidget*> controls) {
  const auto box = [&window](QWidget* w) { return QRect(w->mapTo(&window, QPoint(0, 0)), w->size()); };
  std::sort(controls.begin(), controls.end(),
            [&box](QWidget* a, QWidget* b) { return box(a).center().y() < box(b).center().y(); });
  std::vector<std::vector<QWidget*>> lines;
  int bottom = -1;
  for (QWidget* w : controls) {
    const QRect r = box(w);
    if (lines.empty() || r.center().y() > bottom) {
      lines.emplace_back();
      bottom = r.bottom();
    }
    lines.back().push_back(w);
    bottom = std::max(bottom, r.bottom());
  }
  std::vector<QWidget*> order;
  for (auto& line : lines) {
    std::sort(line.begin(), line.end(), [&box](QWidget* a, QWidget* b) { return box(a).left() < box(b).left(); });
    order.insert(order.end(), line.begin(), line.end());
  }
  return order;
}

inline QStringList Names(const std::vector<QWidget*>& widgets) {
  QStringList names;
  for (QWidget* w : widgets) names << (w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName());
  return names;
}

// The tab chain from `first`, and the reading order turned to start at the
// same control: equal when Tab follows the reading.
inline std::pair<QStringList, QStringList> TabAndReading(QWidget& window, QWidget* first) {
  const std::vector<QWidget*> chain = TabChain(window, first);
  std::vector<QWidget*> reading = ReadingOrder(window, chain);
  const auto start = std::find(reading.begin(), reading.end(), chain.front());
  std::rotate(reading.begin(), start, reading.end());
  return {Names(chain), Names(reading)};
}

}  // namespace vormek::testing
