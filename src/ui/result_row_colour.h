#pragma once
// Which colour a result row is painted in. The decision looks only at the
// row's boarding station (column 4) and start station (column 1), so a whole
// row always has one colour.
#include <string_view>

#include "output/string_grid.h"

namespace vormek {

enum class TRowColour {
  Selected,    // white on the highlight colour
  StartsHere,  // red: the train starts its run where the traveller boards
  SecondLeg,   // blue: boards at the chosen transfer station
  Plain,
};

TRowColour ResultRowColour(const TStringGrid& grid, int row, std::string_view transferStation, bool selected);

}  // namespace vormek
