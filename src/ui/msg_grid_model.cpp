#include "ui/msg_grid_model.h"

#include <charconv>

#include "ui/result_row_colour.h"

namespace vormek {

void TMsgGridModel::SetSection(int first, int last) {
  first_ = first;
  last_ = last;
  if (rowCount() > 0 && columnCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool TMsgGridModel::InSection(int row) const {
  if (!RowHasResult(row)) return false;
  const std::string& text = CellText(0, row);
  int stopNumber = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), stopNumber);
  if (ec != std::errc() || end != text.data() + text.size()) return false;
  return first_ <= stopNumber && stopNumber <= last_;
}

QVariant TMsgGridModel::data(const QModelIndex& index, int role) const {
  if (role == RowColourRole && index.isValid())
    return static_cast<int>(InSection(index.row()) ? TRowColour::SecondLeg : TRowColour::Plain);
  return TResultGridModel::data(index, role);
}

}  // namespace vormek
