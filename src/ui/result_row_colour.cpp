#include "ui/result_row_colour.h"

namespace vormek {

TRowColour ResultRowColour(const TStringGrid& grid, int row, std::string_view transferStation, bool selected) {
  if (selected) return TRowColour::Selected;
  if (row < 0 || row >= grid.RowCount() || grid.ColCount() < 5) return TRowColour::Plain;
  const std::string& boarding = grid.Cell(4, row);
  // Empty rows match too (two empty texts), but they have nothing to show.
  if (boarding == grid.Cell(1, row)) return TRowColour::StartsHere;
  if (boarding == transferStation) return TRowColour::SecondLeg;
  return TRowColour::Plain;
}

}  // namespace vormek
