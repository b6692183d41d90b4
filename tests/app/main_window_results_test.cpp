// Showing results: row counts, the count label, header sorting with its
// marks, the filters re-applied with the sort.
#include <QApplication>
#include <QCursor>

#include "window_fixture.h"

namespace vormek::test {
namespace {

class MainWindowResults : public TWindowTest {
 protected:
  void QueryBeijingShanghai() {
    Widget<TStationComboBox>(*window, "ComboFZ")->SetTextQuietly(QStringLiteral("北京"));
    Widget<TStationComboBox>(*window, "ComboDZ")->SetTextQuietly(QStringLiteral("上海"));
    QTest::mouseClick(Widget<QPushButton>(*window, "BTNZZCX"), Qt::LeftButton);
  }
  QStringList Trains() const {
    QStringList out;
    for (int r = 0; r < window->Center().ResultCount; ++r) out << Cell(0, r);
    return out;
  }
  void ClickHeader(int column) {
    QTest::mouseClick(Widget<TClickLabel>(*window, QStringLiteral("Lab%1").arg(column + 1)), Qt::LeftButton);
  }
  // n made-up results, numbered so that their order is visible.
  void FillResults(int n) {
    std::vector<TPub_GridResult> results;
    for (int i = 0; i < n; ++i) {
      TPub_GridResult row;
      row.ID = "K" + std::to_string(100 + i);
      row.StartStation = "A";
      row.FZ.Station = "B";
      row.Stops = i;
      results.push_back(row);
    }
    window->ShowResultRows(std::move(results));
  }
};

TEST_F(MainWindowResults, RowCountsFollowTheResults) {
  OpenTiny();
  EXPECT_EQ(Rows(), 20);
  FillResults(40);
  EXPECT_EQ(Rows(), 40);
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:40"));
  FillResults(5);
  EXPECT_EQ(Rows(), 16);
  EXPECT_EQ(Cell(0, 4), "K104");
  for (int r = 5; r < 16; ++r) EXPECT_EQ(Cell(0, r), QString()) << r;
  FillResults(0);
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));
  EXPECT_EQ(Rows(), 16);
}

TEST_F(MainWindowResults, HeaderClicksSortAndMarkTheLabel) {
  OpenTiny();
  QueryBeijingShanghai();
  TClickLabel* departs = Widget<TClickLabel>(*window, "Lab6");
  TClickLabel* distance = Widget<TClickLabel>(*window, "Lab10");
  ClickHeader(5);
  EXPECT_EQ(departs->text(), QStringLiteral("发时↑"));
  EXPECT_TRUE(departs->font().bold());
  EXPECT_EQ(Trains(), (QStringList{"G1", "1461", "D313"}));  // 09:00, 11:54, 19:34
  ClickHeader(5);
  EXPECT_EQ(departs->text(), QStringLiteral("发时↓"));
  EXPECT_EQ(Trains(), (QStringList{"D313", "1461", "G1"}));
  ClickHeader(5);
  EXPECT_EQ(departs->text(), QStringLiteral("发时↑"));
  // Another header starts ascending and clears the first one's mark.
  ClickHeader(9);
  EXPECT_EQ(departs->text(), QStringLiteral("发时"));
  EXPECT_FALSE(departs->font().bold());
  EXPECT_EQ(distance->text(), QStringLiteral("里程↑"));
  EXPECT_EQ(Trains(), (QStringList{"G1", "D313", "1461"}));  // 1318, 1460, 1463 km
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindowResults, DistanceSortsAsNumbersAndFaresWithDashesStayInTheGrid) {
  OpenTiny();
  std::vector<TPub_GridResult> results;
  for (auto [id, km, fare] : {std::tuple{"A1", 95, "-"}, {"A2", 1577, "12"}, {"A3", 300, ""}}) {
    TPub_GridResult row;
    row.ID = id;
    row.QJ_Distance = km;
    row.QJ_P1 = fare;
    results.push_back(row);
  }
  window->ShowResultRows(std::move(results));
  ClickHeader(9);
  EXPECT_EQ(Trains(), (QStringList{"A1", "A3", "A2"}));
  ClickHeader(11);
  QStringList trains = Trains();
  trains.sort();
  EXPECT_EQ(trains, (QStringList{"A1", "A2", "A3"}));
  EXPECT_EQ(Trains().indexOf("A2"), 2);
}

TEST_F(MainWindowResults, SortWithNoResultsChangesNothing) {
  OpenTiny();
  ClickHeader(0);
  EXPECT_EQ(Widget<TClickLabel>(*window, "Lab1")->text(), QStringLiteral("车 次"));
  EXPECT_FALSE(Widget<TClickLabel>(*window, "Lab1")->font().bold());
  EXPECT_EQ(Rows(), 20);
}

TEST_F(MainWindowResults, NewQueryAndFiltersKeepTheChosenSort) {
  OpenTiny();
  QueryBeijingShanghai();
  ClickHeader(5);
  ClickHeader(5);  // departures latest first
  QueryBeijingShanghai();
  EXPECT_EQ(Trains(), (QStringList{"D313", "1461", "G1"}));
  EXPECT_EQ(Widget<TClickLabel>(*window, "Lab6")->text(), QStringLiteral("发时↓"));
  Widget<QCheckBox>(*window, "CBDC")->setChecked(true);
  EXPECT_EQ(Trains(), (QStringList{"D313", "G1"}));
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:2"));
  // No empty row above a result, none lost.
  EXPECT_EQ(Cell(0, 2), QString());
  Widget<QCheckBox>(*window, "CBJQ")->setChecked(true);
  EXPECT_EQ(Trains(), QStringList());
  EXPECT_EQ(Widget<QLabel>(*window, "LabResult")->text(), QStringLiteral("结果:0"));
  Widget<QCheckBox>(*window, "CBDC")->setChecked(false);
  EXPECT_EQ(Trains(), QStringList{"1461"});
  Widget<QCheckBox>(*window, "CBJQ")->setChecked(false);
  EXPECT_EQ(Trains(), (QStringList{"D313", "1461", "G1"}));
}

TEST_F(MainWindowResults, TrainNumberResultsIgnoreStationFilters) {
  OpenTiny();
  Widget<QLineEdit>(*window, "ECC")->setText("D313");
  QTest::mouseClick(Widget<QPushButton>(*window, "BTNCCCX"), Qt::LeftButton);
  for (QCheckBox* box :
       {Widget<QCheckBox>(*window, "CBSF"), Widget<QCheckBox>(*window, "CBZD"), Widget<QCheckBox>(*window, "CBJQ")}) {
    box->setChecked(true);
    EXPECT_EQ(Trains(), QStringList{"D313"});
  }
}

TEST_F(MainWindowResults, SelectionStaysOnResultRows) {
  OpenTiny();
  QueryBeijingShanghai();
  TResultGridView* grid = Widget<TResultGridView>(*window, "SGrid");
  EXPECT_FALSE(grid->HasSelection());
  const QRect emptyRow = grid->visualRect(GridModel()->index(5, 2));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, emptyRow.center());
  EXPECT_FALSE(grid->HasSelection());
  const QRect row1 = grid->visualRect(GridModel()->index(1, 2));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row1.center());
  EXPECT_EQ(grid->SelectedRow(), 1);
  EXPECT_EQ(grid->SelectionRect(), (TGridRect{0, 1, 14, 1}));
  QTest::keyClick(grid, Qt::Key_Down);
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(grid->SelectedRow(), 2);
  // A new query clears the selection.
  QueryBeijingShanghai();
  EXPECT_EQ(grid->SelectionRect(), (TGridRect{24, 24, 24, 24}));
}

TEST_F(MainWindowResults, DoubleClickOnAResultRowIsAnnounced) {
  OpenTiny();
  QueryBeijingShanghai();
  QSignalSpy spy(window.get(), &TFrmVormek::SGridDblClick);
  const QRect row2 = Widget<TResultGridView>(*window, "SGrid")->visualRect(GridModel()->index(2, 0));
  QTest::mouseDClick(Widget<TResultGridView>(*window, "SGrid")->viewport(), Qt::LeftButton, {}, row2.center());
  ASSERT_EQ(spy.count(), 1);
  EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
  // Below the results there is nothing to open.
  const QRect empty = Widget<TResultGridView>(*window, "SGrid")->visualRect(GridModel()->index(3, 0));
  QTest::mouseDClick(Widget<TResultGridView>(*window, "SGrid")->viewport(), Qt::LeftButton, {}, empty.center());
  EXPECT_EQ(spy.count(), 1);
}

}  // namespace
}  // namespace vormek::test
