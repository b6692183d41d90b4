#include "output/print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "output/column_names.h"

namespace vormek {
namespace {

// 600 dots per inch: L = U = T = 200, M = 300. A page 4800 wide gives
// 15 columns of W = 300; R = (300 + 20) * 15 = 4800.
TPrintSetup Setup600(int pageHeight) {
  TPrintSetup s;
  s.DpiX = 600;
  s.DpiY = 600;
  s.PageWidth = 4800;
  s.PageHeight = pageHeight;
  s.DateText = PrintDateText(2012, 5, 5);
  s.Maker = {"维墨克", "http://vormek.example.org"};
  return s;
}

// Rows that fit a page: the smallest n for which the n-th row's bottom plus
// one more row passes page height - 2M, with the header row above them.
int RowsPerPage(const TPrintSetup& s) {
  const int U = s.DpiX / 3, T = s.DpiY / 3, M = U * 3 / 2;
  int n = 1;
  while (!(s.PageHeight - 2 * M < T + U + n * U + U)) ++n;
  return n;
}

TStringGrid NumberedGrid(int cols, int rows) {
  TStringGrid grid(cols, rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) grid.Cell(c, r) = "r" + std::to_string(r) + "c" + std::to_string(c);
  return grid;
}

std::vector<TPrintText> Texts(const TPrintPage& page) {
  std::vector<TPrintText> out;
  for (const auto& op : page.Ops)
    if (const auto* t = std::get_if<TPrintText>(&op)) out.push_back(*t);
  return out;
}

std::vector<TPrintLine> Lines(const TPrintPage& page) {
  std::vector<TPrintLine> out;
  for (const auto& op : page.Ops)
    if (const auto* l = std::get_if<TPrintLine>(&op)) out.push_back(*l);
  return out;
}

const TPrintText* FindText(const TPrintPage& page, const std::string& text) {
  for (const auto& op : page.Ops)
    if (const auto* t = std::get_if<TPrintText>(&op); t && t->Text == text) return t;
  return nullptr;
}

// The cell texts of a page, in order, without their leading blank.
std::vector<std::string> CellTexts(const TPrintPage& page) {
  std::vector<std::string> out;
  for (const auto& t : Texts(page))
    if (t.Text.size() > 1 && t.Text[0] == ' ' && t.Text[1] == 'r') out.push_back(t.Text.substr(1));
  return out;
}

TEST(PrintTexts, DateAndPageNumbers) {
  EXPECT_EQ(PrintDateText(2012, 5, 5), "2012年5月5日");
  EXPECT_EQ(PrintDateText(2026, 12, 31), "2026年12月31日");
  EXPECT_EQ(PageNumberText(1), "第  1  页");
  EXPECT_EQ(PageNumberText(12), "第  12  页");
  EXPECT_EQ(PrintFace(), "楷体_GB2312");
}

TEST(PrintLayout, MeasuresOfTheFirstPageAt600Dpi) {
  const TPrintSetup s = Setup600(7000);
  const auto pages = LayoutGridPages(NumberedGrid(15, 1), TGridKind::Result, 1, s);
  ASSERT_EQ(pages.size(), 1u);
  const TPrintPage& page = pages[0];

  const TPrintText* title = FindText(page, "维墨克列车时刻表");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->X, 1600);
  EXPECT_EQ(title->Y, 200);
  EXPECT_EQ(title->PointSize, 15);
  EXPECT_EQ(title->Face, "楷体_GB2312");

  const TPrintText* date = FindText(page, "2012年5月5日");
  ASSERT_NE(date, nullptr);
  EXPECT_EQ(date->X, 300);             // W
  EXPECT_EQ(date->Y, 200 + 200 + 75);  // T + U + M/4
  EXPECT_EQ(date->PointSize, 10);

  const TPrintText* maker = FindText(page, "维墨克  http://vormek.example.org");
  ASSERT_NE(maker, nullptr);
  EXPECT_EQ(maker->X, 9 * 300);  // (C - 6) * W
  EXPECT_EQ(maker->Y, 200 + 200 + 100);

  // The columns start at L and share the page's width; name and cell of a
  // column start together.
  int left = 200;
  for (int i = 0; i < 15; ++i) {
    const TPrintText* name = FindText(page, "  " + ResultColumnName(i));
    ASSERT_NE(name, nullptr) << i;
    EXPECT_EQ(name->Y, 200 + 400 + 66);  // T + 2U + U/3
    EXPECT_EQ(name->PointSize, 10);
    const TPrintText* cell = FindText(page, " r0c" + std::to_string(i));
    ASSERT_NE(cell, nullptr) << i;
    EXPECT_EQ(cell->X, name->X);
    EXPECT_EQ(cell->Y, 400 + 400 + 66);  // one row lower
    if (i == 0) {
      EXPECT_EQ(name->X, 200);
    }
    EXPECT_GE(name->X, left);
    left = name->X + 1;
  }

  const TPrintText* number = FindText(page, "第  1  页");
  ASSERT_NE(number, nullptr);
  EXPECT_EQ(number->X, 2400 - 300);  // page width / 2 - M
  EXPECT_EQ(number->Y, 7000 - 75);   // page height - M/4
}

TEST(PrintLayout, RulesOfOneRow) {
  const auto pages = LayoutGridPages(NumberedGrid(15, 1), TGridKind::Result, 1, Setup600(7000));
  ASSERT_EQ(pages.size(), 1u);
  int horizontal = 0, vertical = 0;
  for (const TPrintLine& l : Lines(pages[0])) {
    EXPECT_EQ(l.PenWidth, 2);
    if (l.Y1 == l.Y2) {
      ++horizontal;
      EXPECT_EQ(l.X1, 200);
      EXPECT_EQ(l.X2, 4800 - 100);  // half of L short of the page's edge
    } else {
      ++vertical;
      EXPECT_EQ(l.X1, l.X2);
      EXPECT_EQ(l.Y2 - l.Y1, 200);
    }
  }
  // Header: top, under the names; the row: its bottom rule.
  EXPECT_EQ(horizontal, 3);
  // 15 column edges and the right border, for the header and the row.
  EXPECT_EQ(vertical, 32);
  const auto lines = Lines(pages[0]);
  EXPECT_EQ(lines.back().Y1, 600 + 2 * 200);  // under the row: y + 2U after y = T + 2U
}

TEST(PrintLayout, ExactlyOnePageAndTheBreakAfterIt) {
  const TPrintSetup s = Setup600(7000);
  const int perPage = RowsPerPage(s);
  ASSERT_EQ(perPage, 30);

  const auto full = LayoutGridPages(NumberedGrid(15, perPage), TGridKind::Result, perPage, s);
  ASSERT_EQ(full.size(), 1u);  // no page with only a rule and a number
  EXPECT_EQ(CellTexts(full[0]).size(), 15u * static_cast<std::size_t>(perPage));
  EXPECT_NE(FindText(full[0], "第  1  页"), nullptr);
  EXPECT_EQ(FindText(full[0], "第  2  页"), nullptr);

  const auto over = LayoutGridPages(NumberedGrid(15, perPage + 1), TGridKind::Result, perPage + 1, s);
  ASSERT_EQ(over.size(), 2u);
  EXPECT_EQ(CellTexts(over[0]).size(), 15u * static_cast<std::size_t>(perPage));
  EXPECT_EQ(CellTexts(over[1]), ([] {
              std::vector<std::string> want;
              for (int c = 0; c < 15; ++c) want.push_back("r30c" + std::to_string(c));
              return want;
            })());
  // The row opening page 2 sits where the first row of page 1 sat.
  EXPECT_EQ(FindText(over[1], " r30c0")->Y, FindText(over[0], " r0c0")->Y);
}

TEST(PrintLayout, ManyPagesRepeatTheHeadAndNumberInOrder) {
  const TPrintSetup s = Setup600(3000);
  const int perPage = RowsPerPage(s);  // 10 at this height
  ASSERT_EQ(perPage, 10);
  const int rows = 2 * perPage + 3;
  const auto pages = LayoutGridPages(NumberedGrid(8, rows), TGridKind::Detail, rows, s);
  ASSERT_EQ(pages.size(), 3u);
  int next = 0;
  for (std::size_t p = 0; p < pages.size(); ++p) {
    const TPrintPage& page = pages[p];
    EXPECT_NE(FindText(page, "维墨克列车时刻表"), nullptr) << p;
    EXPECT_NE(FindText(page, "2012年5月5日"), nullptr) << p;
    EXPECT_NE(FindText(page, "  站序"), nullptr) << p;
    EXPECT_NE(FindText(page, "  时速"), nullptr) << p;
    EXPECT_EQ(FindText(page, "  车次"), nullptr) << p;
    // The page number is the page's last text.
    EXPECT_EQ(Texts(page).back().Text, PageNumberText(static_cast<int>(p) + 1));
    // Rows continue across pages in grid order.
    for (const std::string& cell : CellTexts(page)) {
      EXPECT_EQ(cell.substr(0, cell.find('c')), "r" + std::to_string(next / 8));
      ++next;
    }
  }
  EXPECT_EQ(next, rows * 8);
  // Maker line at (C - 6) * W with 8 columns: W = (4800 - 300) / 8.
  EXPECT_EQ(FindText(pages[0], "维墨克  http://vormek.example.org")->X, 2 * 562);
}

TEST(PrintLayout, OnlyTheRowsAskedFor) {
  const TStringGrid grid = NumberedGrid(15, 16);
  const auto pages = LayoutGridPages(grid, TGridKind::Result, 3, Setup600(7000));
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(CellTexts(pages[0]).size(), 45u);
  EXPECT_EQ(CellTexts(pages[0]).back(), "r2c14");
  // More than the grid holds prints the grid's rows.
  EXPECT_EQ(CellTexts(LayoutGridPages(grid, TGridKind::Result, 40, Setup600(7000))[0]).size(), 240u);
}

TEST(PrintLayout, NoRowsIsOnePageWithItsNumberOnly) {
  const auto pages = LayoutGridPages(NumberedGrid(15, 16), TGridKind::Result, 0, Setup600(7000));
  ASSERT_EQ(pages.size(), 1u);
  ASSERT_EQ(pages[0].Ops.size(), 1u);
  EXPECT_EQ(Texts(pages[0]).at(0).Text, "第  1  页");
}

TEST(PrintLayout, ARowPerPageOnAPageTooShortForMore) {
  const TPrintSetup s = Setup600(1000);
  const auto pages = LayoutGridPages(NumberedGrid(3, 4), TGridKind::Detail, 4, s);
  ASSERT_EQ(pages.size(), 4u);
  for (std::size_t p = 0; p < 4; ++p) {
    EXPECT_EQ(CellTexts(pages[p]).size(), 3u);
    EXPECT_EQ(Texts(pages[p]).back().Text, PageNumberText(static_cast<int>(p) + 1));
  }
}

TEST(PrintLayout, GridWithoutColumnsStillEnds) {
  const auto pages = LayoutGridPages(TStringGrid(0, 5), TGridKind::Result, 5, Setup600(7000));
  ASSERT_FALSE(pages.empty());
  EXPECT_EQ(Texts(pages.back()).back().Text, PageNumberText(static_cast<int>(pages.size())));
}

// The estimate the layout makes without a device: a double-byte character
// one em, any other byte half an em.
int Estimated(const std::string& text, int points, int dpi) {
  int halves = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) >= 0x81 && i + 1 < text.size()) {
      halves += 2;
      ++i;
    } else {
      ++halves;
    }
  }
  return halves * (points * dpi / 72) / 2;
}

// Every text of a table row lies inside its column: from its column's left
// rule to the next one, measured as the setup measures.
void ExpectEveryTextInItsColumn(const TPrintPage& page, const TPrintSetup& s, int tableTop) {
  std::vector<int> rules;
  for (const TPrintLine& l : Lines(page))
    if (l.X1 == l.X2 && l.Y1 == tableTop) rules.push_back(l.X1);
  std::sort(rules.begin(), rules.end());
  ASSERT_GE(rules.size(), 2u);
  for (const TPrintText& t : Texts(page)) {
    if (t.Y < tableTop) continue;                    // the head
    if (t.Y >= s.PageHeight - s.DpiX / 2) continue;  // the page number
    const auto right = std::upper_bound(rules.begin(), rules.end(), t.X);
    ASSERT_NE(right, rules.end()) << t.Text;
    ASSERT_NE(right, rules.begin()) << t.Text;
    EXPECT_EQ(*(right - 1), t.X) << t.Text << ": a text starts at its column's rule";
    const int width = s.TextWidth ? s.TextWidth(t.Text, t.PointSize) : Estimated(t.Text, t.PointSize, s.DpiX);
    EXPECT_LE(t.X + width, *right) << t.Text << " runs into the next column";
  }
}

// The widest texts of a national result between Beijing and Shanghai.
TStringGrid WidestResult(int rows) {
  TStringGrid grid(15, rows);
  const char* row[] = {"G1234", "北京南", "上海虹桥", "高速动车", "北京南", "12:46",       "上海虹桥", "22:46",
                       "12",    "1463",   "24:13",    "1748.5",   "2788.5", "306/317/328", "1008/1052"};
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < 15; ++c) grid.Cell(c, r) = row[c];
  return grid;
}

TEST(PrintColumns, TheWidestResultTextsNeverRunIntoTheNextColumn) {
  // A4 at 600 dpi less a quarter inch each side, upright and turned.
  TPrintSetup upright = Setup600(6716);
  upright.PageWidth = 4660;
  TPrintSetup turned = Setup600(4660);
  turned.PageWidth = 6716;
  const TStringGrid grid = WidestResult(3);
  const std::vector<std::string> header = ReportHeader(TGridKind::Result, 15);
  EXPECT_FALSE(FitsAtBodySize(grid, header, 3, upright)) << "too wide for an upright page at 10 points";
  EXPECT_TRUE(FitsAtBodySize(grid, header, 3, turned));
  for (const TPrintSetup* page : {&upright, &turned}) {
    const TPrintSetup& s = *page;
    const TColumnPlan plan = PlanColumns(grid, header, 3, s);
    EXPECT_TRUE(plan.Fits);
    EXPECT_EQ(plan.PointSize < 10, page == &upright) << "a smaller face only where the page is too narrow";
    const auto pages = LayoutGridPages(grid, TGridKind::Result, 3, s);
    ASSERT_EQ(pages.size(), 1u);
    for (const TPrintText& t : Texts(pages[0])) {
      if (t.Text == " 上海虹桥" || t.Text == " 306/317/328") {
        EXPECT_EQ(t.PointSize, plan.PointSize);
      }
    }
    ExpectEveryTextInItsColumn(pages[0], s, 200 + 400);
  }
}

TEST(PrintColumns, AnyTextsFitTheirColumnsOrTheFaceShrinks) {
  std::mt19937 random(7);
  const std::string pieces[] = {"北", "京", "虹桥", "1", "/", "306", ":", "a", "-", "高速动车"};
  for (int round = 0; round < 200; ++round) {
    const int cols = 1 + static_cast<int>(random() % 15);
    const int rows = 1 + static_cast<int>(random() % 6);
    TStringGrid grid(cols, rows);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c)
        for (int n = static_cast<int>(random() % 6); n > 0; --n) grid.Cell(c, r) += pieces[random() % 10];
    std::vector<std::string> header(static_cast<std::size_t>(cols));
    for (auto& name : header) name = pieces[random() % 10];
    TPrintSetup s = Setup600(7000);
    s.PageWidth = 2000 + static_cast<int>(random() % 6000);
    // A measure of another device: wider than the estimate.
    if (round % 2) s.TextWidth = [](const std::string& t, int points) { return Estimated(t, points, 600) * 6 / 5; };
    const TColumnPlan plan = PlanColumns(grid, header, rows, s);
    ASSERT_EQ(plan.Widths.size(), static_cast<std::size_t>(cols));
    const auto pages = LayoutGridPages(grid, header, rows, s);
    SCOPED_TRACE("round " + std::to_string(round));
    if (plan.Fits) {
      ExpectEveryTextInItsColumn(pages[0], s, 200 + 400);
    } else {
      EXPECT_EQ(plan.PointSize, 7);
    }
    // Never smaller than it must be: one point more would not fit.
    if (plan.PointSize < 10) {
      const auto measure = [&](const std::string& t) {
        return s.TextWidth ? s.TextWidth(t, plan.PointSize + 1) : Estimated(t, plan.PointSize + 1, 600);
      };
      int sum = 0;
      for (int c = 0; c < cols; ++c) {
        int widest = measure("  " + header[static_cast<std::size_t>(c)]);
        for (int r = 0; r < rows; ++r) widest = std::max(widest, measure(" " + grid.Cell(c, r)));
        sum += widest + 600 / 20;
      }
      EXPECT_GT(sum, s.PageWidth - 300);
    }
  }
}

TEST(PrintLayout, TheCaptionStandsBesideTheTitle) {
  TPrintSetup s = Setup600(7000);
  s.Caption = "车次:G11  区间:天津南—苏州北";
  const auto pages = LayoutGridPages(NumberedGrid(8, 2), TGridKind::Detail, 2, s);
  const TPrintText* title = FindText(pages[0], "维墨克列车时刻表");
  const TPrintText* caption = FindText(pages[0], s.Caption);
  ASSERT_NE(caption, nullptr);
  EXPECT_GE(caption->X, title->X + Estimated(title->Text, 15, 600));
  EXPECT_GT(caption->Y, title->Y);
  EXPECT_LT(caption->Y, 200 + 200 + 75) << "above the date line";
  EXPECT_LE(caption->X + Estimated(caption->Text, 10, 600), s.PageWidth);
  EXPECT_EQ(FindText(LayoutGridPages(NumberedGrid(8, 2), TGridKind::Detail, 2, Setup600(7000))[0], s.Caption), nullptr);
}

}  // namespace
}  // namespace vormek
