#pragma once
// The printed report of a grid as plain drawing operations, so that the
// layout can be tested without a printer. A painter on the Qt side replays
// the pages in order: one printer page per TPrintPage, each operation drawn
// in the order given.
//
// Coordinates and sizes are printer dots of the page's printable area, with
// (0, 0) at its top-left corner and y growing downwards. Texts are placed
// with their TOP-LEFT corner at (X, Y) (not at the baseline). Each column is
// as wide as its widest text, measured as the device draws it, so that no
// text runs into the next column. All texts, the face name included, are GBK
// bytes; convert with GbkToUtf8 before handing them to Qt.
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "output/column_names.h"
#include "output/maker_info.h"
#include "output/string_grid.h"

namespace vormek {

// The one face of the report: "楷体_GB2312" (GBK bytes).
std::string PrintFace();

// Write Text with its top-left corner at (X, Y) in the face named Face at
// PointSize points (a point being 1/72 inch at the printer's resolution).
struct TPrintText {
  int X = 0;
  int Y = 0;
  std::string Face;
  int PointSize = 0;
  std::string Text;
};

// A straight rule from (X1, Y1) to (X2, Y2), PenWidth dots wide.
struct TPrintLine {
  int X1 = 0;
  int Y1 = 0;
  int X2 = 0;
  int Y2 = 0;
  int PenWidth = 0;
};

using TPrintOp = std::variant<TPrintText, TPrintLine>;

struct TPrintPage {
  std::vector<TPrintOp> Ops;
};

// What the printer and the caller tell about one print job.
struct TPrintSetup {
  int DpiX = 0;          // horizontal resolution, dots per inch
  int DpiY = 0;          // vertical resolution, dots per inch
  int PageWidth = 0;     // printable area, dots
  int PageHeight = 0;    // printable area, dots
  std::string DateText;  // today, as PrintDateText gives it
  TMakerInfo Maker = DefaultMakerInfo();
  // The width in dots of a GBK text in the report's face at a point size, as
  // the device draws it. Empty: an estimate (a double-byte character one em
  // wide, any other byte half an em).
  std::function<int(const std::string& text, int pointSize)> TextWidth;
  // What the report shows, beside the title (GBK), e.g. the train and the
  // section of a stop list; empty: nothing.
  std::string Caption;
};

// The table's columns: as wide as the widest of their texts (the column name
// and the cells of the rows printed), spread over the page's width. Where the
// texts do not fit at the body size of 10 points, the largest smaller size,
// down to 7 points, at which they do; where not even that fits, the columns
// are narrowed in proportion and Fits is false.
struct TColumnPlan {
  int PointSize = 10;
  std::vector<int> Widths;  // dots, one per column
  bool Fits = true;
};
TColumnPlan PlanColumns(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                        const TPrintSetup& setup);

// Whether the texts fit the page at 10 points; a caller that can turn the
// page turns it when they do not.
bool FitsAtBodySize(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                    const TPrintSetup& setup);

// "2012年5月5日": year, month and day without leading zeros.
std::string PrintDateText(int year, int month, int day);

// "第  3  页", the foot of page 3.
std::string PageNumberText(int page);

// Lay out rows 0 .. rowCount-1 of the grid, every column, as the pages of
// one document. the result grid heads the columns with ResultColumnName,
// the stop list with DetailColumnName. Each page carries the title (and the
// caption beside it), the date, the maker line, a ruled header row, its ruled
// table rows and its page number.
// rowCount is clamped to the grid's rows; 0 rows give one page holding only
// its page number.
std::vector<TPrintPage> LayoutGridPages(const TStringGrid& grid, TGridKind kind, int rowCount,
                                        const TPrintSetup& setup);
// The same for a grid of another window, headed by the given column names.
std::vector<TPrintPage> LayoutGridPages(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                                        const TPrintSetup& setup);

}  // namespace vormek
