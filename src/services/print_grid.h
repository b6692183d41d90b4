#pragma once
// Printing a grid on the default printer, with no printer dialog.
#include <QPagedPaintDevice>
#include <string>
#include <vector>

#include "output/column_names.h"
#include "output/string_grid.h"

namespace vormek {

// Prints rows 0 .. rows-1 of the grid as one document on the device; the
// kind says which grid, the result grid or a stop list. Throws
// std::runtime_error when the device fails.
void PrintGridOn(QPagedPaintDevice& device, const TStringGrid& grid, TGridKind kind, int rows);

// The same on the desktop's default printer. Throws std::runtime_error when
// there is no printer or it fails; the general error handling reports it.
void PrintGrid(const TStringGrid& grid, TGridKind kind, int rows);
// The same for a grid headed by the given column names (GBK).
void PrintGrid(const TStringGrid& grid, const std::vector<std::string>& header, int rows);

}  // namespace vormek
