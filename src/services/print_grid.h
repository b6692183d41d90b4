#pragma once
// Printing a grid on the default printer, with no printer dialog, or into a
// PDF file. The page turns to landscape when the columns need it.
#include <QPagedPaintDevice>
#include <QString>
#include <string>
#include <vector>

#include "output/column_names.h"
#include "output/string_grid.h"

namespace vormek {

// Prints rows 0 .. rows-1 of the grid as one document on the device; the
// header names the columns, the caption (GBK, may be empty) says beside the
// title what the report shows. Throws std::runtime_error when the device
// fails.
void PrintGridOn(QPagedPaintDevice& device, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                 const std::string& caption = {});
// The same headed as the kind of grid says, the result grid or a stop list.
void PrintGridOn(QPagedPaintDevice& device, const TStringGrid& grid, TGridKind kind, int rows,
                 const std::string& caption = {});

// Whether the desktop has a default printer to print on.
bool HasDefaultPrinter();

// The same on the desktop's default printer. Throws std::runtime_error when
// there is no printer or it fails; the general error handling reports it.
void PrintGrid(const TStringGrid& grid, TGridKind kind, int rows, const std::string& caption = {});
// The same for a grid headed by the given column names (GBK).
void PrintGrid(const TStringGrid& grid, const std::vector<std::string>& header, int rows,
               const std::string& caption = {});

// The same report as an A4 PDF file at path. Throws std::runtime_error
// naming the file when it cannot be written.
void WriteGridPdf(const QString& path, const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                  const std::string& caption = {});

}  // namespace vormek
