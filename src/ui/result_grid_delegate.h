#pragma once
// Paints one result cell: the row's colour, the text centred on one line.
#include <QColor>
#include <QStyledItemDelegate>

namespace vormek {

class TResultGridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  static const QColor GridColour;      // #FFFDF4
  static const QColor StartsHereText;  // red
  static const QColor SecondLegText;   // blue
  static const QColor SelectedText;    // white
  // Stand-in for the active window caption colour of the classic desktop.
  static const QColor SelectedBackground;

  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Text and background for a cell, as painted.
  static QColor TextColour(const QModelIndex& index, bool selected);
  static QColor BackgroundColour(bool selected);
};

}  // namespace vormek
