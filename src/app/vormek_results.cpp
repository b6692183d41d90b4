// The result grid's operations: clearing, showing through the filters, the
// header sort.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include "app/UnitVormek.h"
#include "data/table_loaders.h"
#include "gui_text/gbk_text.h"
#include "gui_text/window_fonts.h"
#include "query/result_filter.h"
#include "query/result_rows.h"
#include "ui/click_label.h"
#include "ui/result_grid_model.h"
#include "ui/result_grid_view.h"
#include "ui/station_combo_box.h"
#include "ui/wait_cursor.h"

namespace vormek {

void TFrmVormek::ClearResults() {
  SGridModel->Change([](TStringGrid& grid) { vormek::ClearResults(grid); });
  SGrid->ClearSelection();
  center_.ResultCount = 0;
  LabResult->setText(FromGbk(ResultCaption(0)));
  emit ResultsShown();
}

void TFrmVormek::ShowResults() {
  const std::string stationBox = ToGbkForLookup(TrimBlanksAndControls(ComboCZ->currentText()));
  const TFilterContext filter = FilterContextOf(center_, queryMode_, stationBox, Filters());
  int count = 0;
  {
    std::optional<TWaitCursor> wait;
    if (sort_.Active() && !center_.GridResults.empty()) wait.emplace();
    SGridModel->Change(
        [&](TStringGrid& grid) { count = vormek::ShowResults(center_.GridResults, filter, sort_, grid); });
  }
  center_.ResultCount = count;
  LabResult->setText(FromGbk(ResultCaption(count)));
  emit ResultsShown();
}

void TFrmVormek::ShowResultRows(std::vector<TPub_GridResult> rows) {
  center_.GridResults = std::move(rows);
  ClearResults();
  ShowResults();
}

void TFrmVormek::CBSFClick() {
  ClearResults();
  ShowResults();
}

void TFrmVormek::Lab1Click(TClickLabel* label) {
  if (center_.GridResults.empty()) return;
  // The column is the number in the label's name minus one.
  const int column = label->objectName().mid(3).toInt() - 1;
  if (column < 0 || column >= kResultColumns) return;
  TWaitCursor wait;
  sort_ = ClickHeader(sort_, column);
  UpdateHeaderLabels();
  const int rows = center_.ResultCount;
  SGridModel->Change(
      [&](TStringGrid& grid) { SortRows(grid, rows, column, sort_.Ascending, IsNumericResultColumn(column)); });
  emit ResultsShown();
}

void TFrmVormek::UpdateHeaderLabels() {
  for (int column = 0; column < kResultColumns; ++column) {
    TClickLabel* label = Labs[static_cast<std::size_t>(column)];
    const std::string plain = ToGbkForLookup(plainCaptions_[static_cast<std::size_t>(column)]);
    label->setText(FromGbk(HeaderCaption(plain, column, sort_)));
    label->setFont(InSameFace(label->font(), sort_.Column == column));
  }
}

}  // namespace vormek
