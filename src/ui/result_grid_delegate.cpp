#include "ui/result_grid_delegate.h"

#include <QPainter>

#include "ui/result_grid_model.h"
#include "ui/result_row_colour.h"

namespace vormek {

const QColor TResultGridDelegate::GridColour(0xFF, 0xFD, 0xF4);
const QColor TResultGridDelegate::StartsHereText(0xFF, 0x00, 0x00);
const QColor TResultGridDelegate::SecondLegText(0x00, 0x00, 0xFF);
const QColor TResultGridDelegate::SelectedText(0xFF, 0xFF, 0xFF);
const QColor TResultGridDelegate::SelectedBackground(0x0A, 0x24, 0x6A);

QColor TResultGridDelegate::TextColour(const QModelIndex& index, bool selected) {
  if (selected) return SelectedText;
  switch (static_cast<TRowColour>(index.data(TResultGridModel::RowColourRole).toInt())) {
    case TRowColour::StartsHere: return StartsHereText;
    case TRowColour::SecondLeg: return SecondLegText;
    case TRowColour::Selected: return SelectedText;
    case TRowColour::Plain: break;
  }
  return QColor(Qt::black);
}

QColor TResultGridDelegate::BackgroundColour(bool selected) { return selected ? SelectedBackground : GridColour; }

void TResultGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  painter->save();
  painter->fillRect(option.rect, BackgroundColour(selected));
  painter->setPen(TextColour(index, selected));
  painter->setFont(option.font);
  painter->setClipRect(option.rect);
  painter->drawText(option.rect, Qt::AlignCenter | Qt::TextSingleLine, index.data(Qt::DisplayRole).toString());
  painter->restore();
}

}  // namespace vormek
