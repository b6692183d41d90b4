// Sorting the rows of a grid by one column, as a click on a header does.
#include <cstring>
#include <optional>
#include <string>

#include "output/string_grid.h"
#include "rules/number_text.h"

namespace vormek {

namespace {

// Text order: GBK bytes as unsigned values, a prefix before its longer text.
int CompareBytes(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
  if (c != 0) return c;
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Numeric order: cells that are not numbers ("-" for a class not offered)
// all sit below every number, so the order stays total and they group at
// one end instead of scattering.
struct TCellNumber {
  bool isNumber = false;
  double value = 0;
};

TCellNumber ReadCellNumber(const std::string& text) {
  const std::optional<double> n = ReadDecimal(text);
  return n ? TCellNumber{true, *n} : TCellNumber{};
}

int CompareNumbers(const TCellNumber& a, const TCellNumber& b) {
  if (!a.isNumber || !b.isNumber) return static_cast<int>(a.isNumber) - static_cast<int>(b.isNumber);
  return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
}

class RowSorter {
 public:
  RowSorter(TStringGrid& grid, int col, bool ascending, bool numeric)
      : grid_(grid), col_(col), ascending_(ascending), numeric_(numeric) {}

  // Hoare partitioning around a middle pivot. The smaller part is sorted by
  // recursion and the larger one by the loop, so the depth stays logarithmic;
  // the rows end in the same places as with two recursive calls.
  void Sort(int lo, int hi) {
    while (lo < hi) {
      int i = lo;
      int j = hi;
      const std::string pivot = grid_.Cell(col_, lo + (hi - lo) / 2);
      const TCellNumber pivotNumber = numeric_ ? ReadCellNumber(pivot) : TCellNumber{};
      do {
        // The pivot row stops both scans on the first pass and the rows
        // swapped after it on later ones; the bounds guard that all the same.
        while (i < hi && Before(i, pivot, pivotNumber)) ++i;
        while (j > lo && After(j, pivot, pivotNumber)) --j;
        if (i <= j) {
          SwapGridRows(grid_, i, j);
          ++i;
          --j;
        }
      } while (i <= j);
      if (j - lo < hi - i) {
        if (lo < j) Sort(lo, j);
        lo = i;
      } else {
        if (i < hi) Sort(i, hi);
        hi = j;
      }
    }
  }

 private:
  // Sign of cell(row) against the pivot in the requested direction.
  int Compare(int row, const std::string& pivot, const TCellNumber& pivotNumber) const {
    const std::string& cell = grid_.Cell(col_, row);
    const int c = numeric_ ? CompareNumbers(ReadCellNumber(cell), pivotNumber) : CompareBytes(cell, pivot);
    return ascending_ ? c : -c;
  }
  bool Before(int row, const std::string& pivot, const TCellNumber& n) const { return Compare(row, pivot, n) < 0; }
  bool After(int row, const std::string& pivot, const TCellNumber& n) const { return Compare(row, pivot, n) > 0; }

  TStringGrid& grid_;
  int col_;
  bool ascending_;
  bool numeric_;
};

}  // namespace

void SortGrid(TStringGrid& grid, int col, bool ascending, bool numeric) {
  if (col < 0 || col >= grid.ColCount()) return;
  const int lo = grid.FixedRows();
  const int hi = grid.RowCount() - 1;
  if (numeric) {
    // An empty cell counts as 0 and says so afterwards.
    for (int row = lo; row <= hi; ++row)
      if (grid.Cell(col, row).empty()) grid.Cell(col, row).assign(1, '0');
  }
  if (lo < hi) RowSorter(grid, col, ascending, numeric).Sort(lo, hi);
}

}  // namespace vormek
