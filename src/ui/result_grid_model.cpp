#include "ui/result_grid_model.h"

#include "gui_text/gbk_text.h"
#include "ui/result_row_colour.h"

namespace vormek {

TResultGridModel::TResultGridModel(int colCount, int rowCount, QObject* parent)
    : QAbstractTableModel(parent), grid_(colCount, rowCount) {}

int TResultGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.RowCount(); }

int TResultGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : grid_.ColCount(); }

QVariant TResultGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= grid_.RowCount() || index.column() >= grid_.ColCount()) return {};
  switch (role) {
    case Qt::DisplayRole: return FromGbk(grid_.Cell(index.column(), index.row()));
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case RowColourRole: return static_cast<int>(ResultRowColour(grid_, index.row(), transferStation_, false));
    default: return {};
  }
}

QVariant TResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Vertical) return section < grid_.RowCount() ? QVariant(section + 1) : QVariant();
  return section < captions_.size() ? QVariant(captions_[section]) : QVariant();
}

void TResultGridModel::Change(const std::function<void(TStringGrid&)>& change) {
  beginResetModel();
  change(grid_);
  endResetModel();
}

void TResultGridModel::SetTransferStation(std::string station) {
  transferStation_ = std::move(station);
  if (grid_.RowCount() > 0 && grid_.ColCount() > 0)
    emit dataChanged(index(0, 0), index(grid_.RowCount() - 1, grid_.ColCount() - 1));
}

bool TResultGridModel::RowHasResult(int row) const {
  return row >= 0 && row < grid_.RowCount() && grid_.ColCount() > 0 && !grid_.Cell(0, row).empty();
}

}  // namespace vormek
