#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <tuple>
#include <vector>

#include "gui_text/gbk_text.h"
#include "ui/UnitZzz.h"
#include "ui/click_label.h"
#include "ui/result_grid_view.h"
#include "ui/zzz_grid_model.h"

using namespace vormek;

namespace {

std::string G(const QString& s) { return *ToGbk(s); }

TPub_ZZStruct Row(const QString& station, int d1, int d2, int c1, int c2) {
  TPub_ZZStruct r;
  r.Station = G(station);
  r.Distance1 = d1;
  r.Distance2 = d2;
  r.Distance = d1 + d2;
  r.R_Date1 = "01:00";
  r.R_Date2 = "02:00";
  r.R_Date = "3:0";
  r.Count1 = c1;
  r.Count2 = c2;
  return r;
}

// 济南 (BC/C4 in GBK) sorts before 南京 (C4/CF), which sorts before 天津 (CC/EC).
void FillCenter(TPub_Center& c, int extraStations = 0) {
  c.FromSelection.Entered = G(QStringLiteral("西安"));
  c.ToSelection.Entered = G(QStringLiteral("上海"));
  c.TransferRows = {Row(QStringLiteral("天津"), 1100, 95, 1, 3), Row(QStringLiteral("南京"), 1500, 301, 2, 5),
                    Row(QStringLiteral("郑州"), 500, 1000, 4, 0),  // no second leg: not listed
                    Row(QStringLiteral("济南"), 900, 1577, 3, 2)};
  for (int i = 0; i < extraStations; ++i)
    c.TransferRows.push_back(Row(QStringLiteral("站%1").arg(100 + i), 10 + i, 20 + i, 1, 1));
}

class TRecordedLegs : public ITransferLegsTarget {
 public:
  void ShowTransferLegs(const std::string& station, std::int32_t count1, std::int32_t count2) override {
    Calls.emplace_back(FromGbk(station), count1, count2);
  }
  std::vector<std::tuple<QString, int, int>> Calls;
};

class FrmZzzTest : public ::testing::Test {
 protected:
  void Open(int extra = 0) {
    FillCenter(center, extra);
    window = std::make_unique<TFrmZzz>(legs);
    window->Fill(center);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  QStringList Column(int col) const {
    QStringList out;
    for (int r = 0; r < window->StationCount; ++r)
      out << window->ZGridModel->data(window->ZGridModel->index(r, col)).toString();
    return out;
  }
  void ClickRow(int row) {
    const QRect cell = window->ZGrid->visualRect(window->ZGridModel->index(row, 0));
    QTest::mouseClick(window->ZGrid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
  }
  void ClickLabel(int n) { QTest::mouseClick(window->Labs[static_cast<std::size_t>(n - 1)], Qt::LeftButton); }

  TPub_Center center;
  TRecordedLegs legs;
  std::unique_ptr<TFrmZzz> window;
};

TEST_F(FrmZzzTest, OpensSortedByStationWithCaptionAndNote) {
  Open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("两地共有<3>个中转站供选择:"));
  EXPECT_EQ(window->LabInfo->text(), QStringLiteral("中转换乘牵涉因素较多，请综合各种因素进行换乘站选择。"));
  EXPECT_EQ(window->size(), QSize(532, 356));
  EXPECT_EQ(window->StationCount, 3);
  EXPECT_EQ(Column(0), (QStringList{"济南", "南京", "天津"}));
  EXPECT_EQ(window->Labs[0]->text(), QStringLiteral("中转站↑"));
  EXPECT_TRUE(window->Labs[0]->font().bold());
  EXPECT_EQ(window->Labs[0]->property("tag").toInt(), 33);
  EXPECT_EQ(window->ZGrid->SelectionRect().Right, TResultGridView::NoSelectionEdge);
  EXPECT_EQ(window->ZGridModel->rowCount(), 20);
}

TEST_F(FrmZzzTest, NumericColumnsSortAsNumbersAndClicksFlipTheArrow) {
  Open();
  ClickLabel(3);  // 后里程
  EXPECT_EQ(Column(2), (QStringList{"95", "301", "1577"}));
  EXPECT_EQ(window->Labs[2]->text(), QStringLiteral("后里程↑"));
  EXPECT_TRUE(window->Labs[2]->font().bold());
  EXPECT_EQ(window->Labs[0]->text(), QStringLiteral("中转站"));
  EXPECT_FALSE(window->Labs[0]->font().bold());
  ClickLabel(3);
  EXPECT_EQ(Column(2), (QStringList{"1577", "301", "95"}));
  EXPECT_EQ(window->Labs[2]->text(), QStringLiteral("后里程↓"));
  // Counts are numbers too; rows keep their cells together.
  ClickLabel(9);
  EXPECT_EQ(Column(8), (QStringList{"2", "3", "5"}));
  EXPECT_EQ(Column(0), (QStringList{"济南", "天津", "南京"}));
}

TEST_F(FrmZzzTest, ClickOnAStationShowsItsLegsAndTheWindowStays) {
  Open();
  ClickRow(1);
  ASSERT_EQ(legs.Calls.size(), 1u);
  EXPECT_EQ(legs.Calls[0], std::make_tuple(QStringLiteral("南京"), 2, 5));
  EXPECT_TRUE(window->isVisible());
  ClickRow(1);
  EXPECT_EQ(legs.Calls.size(), 2u) << "the same station again rebuilds the same result";
}

TEST_F(FrmZzzTest, KeysAndWheelMovingTheCurrentRowShowThatStationsLegs) {
  Open();
  ClickRow(0);  // 济南
  ASSERT_EQ(legs.Calls.size(), 1u);
  QTest::keyClick(window->ZGrid, Qt::Key_Down);
  ASSERT_EQ(legs.Calls.size(), 2u);
  EXPECT_EQ(legs.Calls[1], std::make_tuple(QStringLiteral("南京"), 2, 5));
  const QPointF at(window->ZGrid->viewport()->rect().center());
  QWheelEvent down(at, window->ZGrid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(window->ZGrid->viewport(), &down);
  ASSERT_EQ(legs.Calls.size(), 3u);
  EXPECT_EQ(legs.Calls[2], std::make_tuple(QStringLiteral("天津"), 1, 3));
  // The last station: nowhere further to go, and nothing shown again.
  QTest::keyClick(window->ZGrid, Qt::Key_Down);
  EXPECT_EQ(legs.Calls.size(), 3u);
  EXPECT_EQ(window->ZGrid->SelectedRow(), 2);
}

TEST_F(FrmZzzTest, EmptyRowsSelectNothingAndChangeNothing) {
  Open();
  ClickRow(10);
  EXPECT_TRUE(legs.Calls.empty());
  EXPECT_EQ(window->ZGrid->SelectedRow(), -1);
  ClickRow(0);
  ClickRow(12);
  EXPECT_EQ(legs.Calls.size(), 1u);
  EXPECT_EQ(window->ZGrid->SelectedRow(), 0);
}

TEST_F(FrmZzzTest, WheelRightAfterOpeningScrollsWithoutSelecting) {
  Open(30);
  window->ZGrid->verticalScrollBar()->setValue(3);
  const QPointF at(window->ZGrid->viewport()->rect().center());
  QWheelEvent up(at, window->ZGrid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                 Qt::NoScrollPhase, false);
  QApplication::sendEvent(window->ZGrid->viewport(), &up);
  EXPECT_EQ(window->ZGrid->verticalScrollBar()->value(), 2);
  EXPECT_EQ(window->ZGrid->SelectedRow(), -1);
  EXPECT_TRUE(legs.Calls.empty());
  EXPECT_EQ(window->ZGridModel->rowCount(), 33);
}

TEST_F(FrmZzzTest, NothingListedMeansHeadersDoNotReact) {
  TPub_Center empty;
  TFrmZzz w(legs);
  w.Fill(empty);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("两地共有<0>个中转站供选择:"));
  w.Lab1Click(w.Labs[3]);
  EXPECT_EQ(w.Labs[3]->text(), QStringLiteral("总里程"));
  EXPECT_FALSE(w.Labs[0]->font().bold());
  w.ZGridClick(0);
  EXPECT_TRUE(legs.Calls.empty());
}

TEST_F(FrmZzzTest, Screenshot) {
  Open();
  ClickRow(1);
  EXPECT_TRUE(window->grab().save(QStringLiteral(VORMEK_TEST_OUTPUT_DIR "/frm_zzz.png")));
}

}  // namespace
