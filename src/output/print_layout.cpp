#include "output/print_layout.h"

#include <algorithm>
#include <utility>

#include "output/column_names.h"

namespace vormek {

namespace {

constexpr int kTitlePoints = 15;
constexpr int kBodyPoints = 10;
constexpr int kPenWidth = 2;

// Every measure of the report, in printer dots, from the resolution and the
// printable area. Integer arithmetic; divisions truncate.
struct Measures {
  int L;  // left edge of the table, a third of an inch
  int U;  // height of one table row
  int T;  // top of the table block on every page
  int M;  // margin for column widths, the page-full test and text offsets
  int C;  // columns
  int W;  // width of every column
  int R;  // x of the table's right border

  Measures(const TPrintSetup& setup, int colCount)
      : L(setup.DpiX / 3),
        U(setup.DpiX / 3),
        T(setup.DpiY / 3),
        M(L * 3 / 2),
        C(colCount),
        W(colCount > 0 ? (setup.PageWidth - M) / colCount : 0),
        R((W + M / 15) * colCount) {}

  int X(int col) const { return L + col * W; }
};

class PageWriter {
 public:
  PageWriter(const TStringGrid& grid, std::vector<std::string> header, const TPrintSetup& setup)
      : grid_(grid), header_(std::move(header)), setup_(setup), m_(setup, grid.ColCount()), face_(PrintFace()) {
    header_.resize(static_cast<std::size_t>(grid.ColCount()));
    pages_.emplace_back();
  }

  std::vector<TPrintPage> Layout(int rows) {
    int y = m_.T;
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < m_.C; ++c) {
        if (y == m_.T) y = PageHead(y);
        Text(m_.X(c), y + 2 * m_.U + m_.U / 3, kBodyPoints, " " + grid_.Cell(c, r));
        Line(m_.X(c), y + 2 * m_.U, m_.X(c), y + 3 * m_.U);
      }
      Line(m_.R, y + 2 * m_.U, m_.R, y + 3 * m_.U);
      y += m_.U;
      if (setup_.PageHeight - 2 * m_.M < y + m_.U) {
        Line(m_.L, y + 2 * m_.U, m_.R, y + 2 * m_.U);
        PageNumber();
        // A page full after the last row ends the document: a further page
        // would carry nothing but a rule and its number.
        if (r == rows - 1) return std::move(pages_);
        pages_.emplace_back();
        y = m_.T;
      }
      // The rule under the row just printed, or the top rule of a new page.
      Line(m_.L, y + 2 * m_.U, m_.R, y + 2 * m_.U);
    }
    PageNumber();
    return std::move(pages_);
  }

 private:
  // Title, date, maker line and the ruled row of column names; gives the
  // y of the first table row's top.
  int PageHead(int y) {
    Text(setup_.PageWidth / 3, m_.U, kTitlePoints, "维墨克列车时刻表");
    Line(m_.L, y + 2 * m_.U, m_.R, y + 2 * m_.U);
    Text(m_.W, y + m_.U + m_.M / 4, kBodyPoints, setup_.DateText);
    Text((m_.C - 6) * m_.W, y + m_.U + m_.M / 3, kBodyPoints, setup_.Maker.Name + "  " + setup_.Maker.WebAddress);
    for (int i = 0; i < m_.C; ++i) {
      Text(m_.X(i), y + 2 * m_.U + m_.U / 3, kBodyPoints, "  " + header_[static_cast<std::size_t>(i)]);
      Line(m_.X(i), y + 2 * m_.U, m_.X(i), y + 3 * m_.U);
    }
    Line(m_.R, y + 2 * m_.U, m_.R, y + 3 * m_.U);
    y += m_.U;
    Line(m_.L, y + 2 * m_.U, m_.R, y + 2 * m_.U);
    return y;
  }

  void PageNumber() {
    Text(setup_.PageWidth / 2 - m_.M, setup_.PageHeight - m_.M / 4, kBodyPoints,
         PageNumberText(static_cast<int>(pages_.size())));
  }

  void Text(int x, int y, int points, std::string text) {
    pages_.back().Ops.push_back(TPrintText{x, y, face_, points, std::move(text)});
  }

  void Line(int x1, int y1, int x2, int y2) { pages_.back().Ops.push_back(TPrintLine{x1, y1, x2, y2, kPenWidth}); }

  const TStringGrid& grid_;
  std::vector<std::string> header_;
  const TPrintSetup& setup_;
  Measures m_;
  std::string face_;
  std::vector<TPrintPage> pages_;
};

}  // namespace

std::string PrintFace() { return "楷体_GB2312"; }

std::string PrintDateText(int year, int month, int day) {
  return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

std::string PageNumberText(int page) { return "第  " + std::to_string(page) + "  页"; }

std::vector<TPrintPage> LayoutGridPages(const TStringGrid& grid, TGridKind kind, int rowCount,
                                        const TPrintSetup& setup) {
  return LayoutGridPages(grid, ReportHeader(kind, grid.ColCount()), rowCount, setup);
}

std::vector<TPrintPage> LayoutGridPages(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                                        const TPrintSetup& setup) {
  return PageWriter(grid, header, setup).Layout(std::clamp(rowCount, 0, grid.RowCount()));
}

}  // namespace vormek
