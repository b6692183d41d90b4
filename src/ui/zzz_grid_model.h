#pragma once
// The transfer stations' cells: every row in the grid's plain colours.
#include "ui/result_grid_model.h"

namespace vormek {

class TZzzGridModel : public TResultGridModel {
  Q_OBJECT

 public:
  using TResultGridModel::TResultGridModel;

  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
};

}  // namespace vormek
