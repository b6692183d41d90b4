#include "ui/zzz_grid_model.h"

#include "ui/result_row_colour.h"

namespace vormek {

QVariant TZzzGridModel::data(const QModelIndex& index, int role) const {
  if (role == RowColourRole && index.isValid()) return static_cast<int>(TRowColour::Plain);
  return TResultGridModel::data(index, role);
}

}  // namespace vormek
