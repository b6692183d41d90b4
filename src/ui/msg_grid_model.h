#pragma once
// The stop list's cells: like the result grid's, but a row is blue when its
// stop lies in the queried section.
#include "ui/result_grid_model.h"

namespace vormek {

class TMsgGridModel : public TResultGridModel {
  Q_OBJECT

 public:
  using TResultGridModel::TResultGridModel;

  void SetSection(int first, int last);
  int SectionFirst() const { return first_; }
  int SectionLast() const { return last_; }
  // Column 0 holds a stop number within SectionFirst..SectionLast.
  bool InSection(int row) const;

  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  int first_ = 0;
  int last_ = 0;
};

}  // namespace vormek
