#include "output/print_layout.h"

#include <algorithm>
#include <utility>

#include "output/column_names.h"

namespace vormek {

namespace {

constexpr int kTitlePoints = 15;
constexpr int kBodyPoints = 10;
constexpr int kSmallestPoints = 7;
constexpr int kPenWidth = 2;

int Measure(const TPrintSetup& setup, const std::string& text, int points) {
  if (setup.TextWidth) return setup.TextWidth(text, points);
  const int em = points * setup.DpiX / 72;
  int halves = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead >= 0x81 && i + 1 < text.size()) {
      halves += 2;
      ++i;
    } else {
      halves += 1;
    }
  }
  return halves * em / 2;
}

// The head's measures, in printer dots, from the resolution and the printable
// area. Integer arithmetic; divisions truncate.
struct Measures {
  int L;  // left edge of the table, a third of an inch
  int U;  // height of one table row
  int T;  // top of the table block on every page
  int M;  // margin for the head's places, the page-full test and text offsets
  int C;  // columns
  int W;  // a column's share of the page, which places the date and the maker

  Measures(const TPrintSetup& setup, int colCount)
      : L(setup.DpiX / 3),
        U(setup.DpiX / 3),
        T(setup.DpiY / 3),
        M(L * 3 / 2),
        C(colCount),
        W(colCount > 0 ? (setup.PageWidth - M) / colCount : 0) {}
};

// The table runs from L to half of L short of the page's right edge.
int TableWidth(const TPrintSetup& setup) {
  const int L = setup.DpiX / 3;
  return std::max(0, setup.PageWidth - L - L / 2);
}

// Each column's widest text at the size, with a small gap before its right
// rule.
std::vector<int> NeededWidths(const TStringGrid& grid, const std::vector<std::string>& header, int rows,
                              const TPrintSetup& setup, int points) {
  const int gap = setup.DpiX / 20;
  std::vector<int> widths(static_cast<std::size_t>(grid.ColCount()), 0);
  for (int c = 0; c < grid.ColCount(); ++c) {
    const std::size_t i = static_cast<std::size_t>(c);
    int widest = i < header.size() ? Measure(setup, "  " + header[i], points) : 0;
    for (int r = 0; r < rows; ++r) widest = std::max(widest, Measure(setup, " " + grid.Cell(c, r), points));
    widths[i] = widest + gap;
  }
  return widths;
}

int Sum(const std::vector<int>& widths) {
  int sum = 0;
  for (int w : widths) sum += w;
  return sum;
}

class PageWriter {
 public:
  PageWriter(const TStringGrid& grid, std::vector<std::string> header, const TPrintSetup& setup, int rows)
      : grid_(grid), header_(std::move(header)), setup_(setup), m_(setup, grid.ColCount()), face_(PrintFace()) {
    header_.resize(static_cast<std::size_t>(grid.ColCount()));
    const TColumnPlan plan = PlanColumns(grid_, header_, rows, setup_);
    points_ = plan.PointSize;
    x_.push_back(m_.L);
    for (int w : plan.Widths) x_.push_back(x_.back() + w);
    pages_.emplace_back();
  }

  std::vector<TPrintPage> Layout(int rows) {
    int y = m_.T;
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < m_.C; ++c) {
        if (y == m_.T) y = PageHead(y);
        Text(X(c), y + 2 * m_.U + m_.U / 3, points_, " " + grid_.Cell(c, r));
        Line(X(c), y + 2 * m_.U, X(c), y + 3 * m_.U);
      }
      Line(R(), y + 2 * m_.U, R(), y + 3 * m_.U);
      y += m_.U;
      if (setup_.PageHeight - 2 * m_.M < y + m_.U) {
        Line(m_.L, y + 2 * m_.U, R(), y + 2 * m_.U);
        PageNumber();
        // A page full after the last row ends the document: a further page
        // would carry nothing but a rule and its number.
        if (r == rows - 1) return std::move(pages_);
        pages_.emplace_back();
        y = m_.T;
      }
      // The rule under the row just printed, or the top rule of a new page.
      Line(m_.L, y + 2 * m_.U, R(), y + 2 * m_.U);
    }
    PageNumber();
    return std::move(pages_);
  }

 private:
  // Title (and caption), date, maker line and the ruled row of column names;
  // gives the y of the first table row's top.
  int PageHead(int y) {
    const std::string title = "维墨克列车时刻表";
    Text(setup_.PageWidth / 3, m_.U, kTitlePoints, title);
    if (!setup_.Caption.empty()) {
      // After the title, on its line, bottoms roughly level.
      const int x = setup_.PageWidth / 3 + Measure(setup_, title, kTitlePoints) + m_.U / 2;
      Text(x, m_.U + (kTitlePoints - kBodyPoints) * setup_.DpiY / 72 / 2, kBodyPoints, setup_.Caption);
    }
    Line(m_.L, y + 2 * m_.U, R(), y + 2 * m_.U);
    Text(m_.W, y + m_.U + m_.M / 4, kBodyPoints, setup_.DateText);
    Text((m_.C - 6) * m_.W, y + m_.U + m_.M / 3, kBodyPoints, setup_.Maker.Name + "  " + setup_.Maker.WebAddress);
    for (int i = 0; i < m_.C; ++i) {
      Text(X(i), y + 2 * m_.U + m_.U / 3, points_, "  " + header_[static_cast<std::size_t>(i)]);
      Line(X(i), y + 2 * m_.U, X(i), y + 3 * m_.U);
    }
    Line(R(), y + 2 * m_.U, R(), y + 3 * m_.U);
    y += m_.U;
    Line(m_.L, y + 2 * m_.U, R(), y + 2 * m_.U);
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

  // Left edge of column c, and the table's right border.
  int X(int c) const { return x_[static_cast<std::size_t>(c)]; }
  int R() const { return x_.back(); }

  const TStringGrid& grid_;
  std::vector<std::string> header_;
  const TPrintSetup& setup_;
  Measures m_;
  std::string face_;
  int points_ = kBodyPoints;
  std::vector<int> x_;
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

TColumnPlan PlanColumns(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                        const TPrintSetup& setup) {
  const int rows = std::clamp(rowCount, 0, grid.RowCount());
  const int room = TableWidth(setup);
  TColumnPlan plan;
  for (int points = kBodyPoints; points >= kSmallestPoints; --points) {
    plan.PointSize = points;
    plan.Widths = NeededWidths(grid, header, rows, setup, points);
    const int spare = room - Sum(plan.Widths);
    if (spare < 0) continue;
    // What is left is shared out, so that the table keeps the page's width.
    const int columns = static_cast<int>(plan.Widths.size());
    for (int c = 0; c < columns; ++c)
      plan.Widths[static_cast<std::size_t>(c)] += spare / columns + (c < spare % columns);
    return plan;
  }
  // Too wide even at the smallest size: narrowed in proportion.
  const long long total = Sum(plan.Widths);
  for (int& w : plan.Widths) w = static_cast<int>(w * static_cast<long long>(room) / total);
  plan.Fits = false;
  return plan;
}

bool FitsAtBodySize(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                    const TPrintSetup& setup) {
  const int rows = std::clamp(rowCount, 0, grid.RowCount());
  return Sum(NeededWidths(grid, header, rows, setup, kBodyPoints)) <= TableWidth(setup);
}

std::vector<TPrintPage> LayoutGridPages(const TStringGrid& grid, const std::vector<std::string>& header, int rowCount,
                                        const TPrintSetup& setup) {
  const int rows = std::clamp(rowCount, 0, grid.RowCount());
  return PageWriter(grid, header, setup, rows).Layout(rows);
}

}  // namespace vormek
