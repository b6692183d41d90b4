#pragma once
// The caption labels over a grid's columns, as the detail and transfer
// windows show them: centred text on a box of #F2F2F9, 23 pixels high, each
// box over its column.
#include <QColor>
#include <QStringList>
#include <vector>

class QWidget;

namespace vormek {

class TClickLabel;
class TResultGridView;

inline const QColor kHeaderBoxColour{0xF2, 0xF2, 0xF9};
inline constexpr int kHeaderBoxHeight = 23;
inline constexpr int kHeaderLabelTag = 33;

// Labels named namePrefix + 1-based column number, with the "tag" property
// 33, in column order. The grid must already have its place in parent.
std::vector<TClickLabel*> BuildHeaderRow(QWidget* parent, const TResultGridView& grid, const QStringList& captions,
                                         int top, const QString& namePrefix);

}  // namespace vormek
