// The result grid on its own: painting colours, the wheel in and out of the
// no-selection state, and the veto on empty rows.
#include "ui/result_grid_view.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "data/gbk_codec.h"
#include "ui/result_grid_delegate.h"
#include "ui/result_grid_model.h"

namespace vormek {
namespace {

std::string Gbk(const char* utf8) { return Utf8ToGbk(utf8).value(); }

class ResultGridView : public ::testing::Test {
 protected:
  void SetUp() override {
    model = std::make_unique<TResultGridModel>(15, 40);
    view = std::make_unique<TResultGridView>(model.get(), std::vector<int>(15, 60));
    view->resize(959, 305);
  }
  // Rows 0..n-1: a train; row 1 starts where it boards, row 2 boards at 天津.
  void Fill(int n) {
    model->Change([&](TStringGrid& grid) {
      for (int r = 0; r < n; ++r) {
        grid.Cell(0, r) = "K" + std::to_string(r);
        grid.Cell(1, r) = Gbk("北京");
        grid.Cell(4, r) = r == 1 ? Gbk("北京") : r == 2 ? Gbk("天津") : Gbk("丰台");
      }
    });
    model->SetTransferStation(Gbk("天津"));
  }
  void Wheel(int delta) {
    const QPoint at = view->viewport()->rect().center();
    QWheelEvent event(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &event);
  }
  QColor BackgroundAt(int row) {
    const QImage image = view->viewport()->grab().toImage();
    const QRect cell = view->visualRect(model->index(row, 0));
    return image.pixelColor(cell.left() + 2, cell.top() + 2);
  }
  std::unique_ptr<TResultGridModel> model;
  std::unique_ptr<TResultGridView> view;
};

TEST_F(ResultGridView, RowColoursFollowBoardingAndTransferStations) {
  Fill(4);
  auto text = [&](int row, bool selected) { return TResultGridDelegate::TextColour(model->index(row, 7), selected); };
  EXPECT_EQ(text(0, false), QColor(Qt::black));
  EXPECT_EQ(text(1, false), QColor(255, 0, 0));
  EXPECT_EQ(text(2, false), QColor(0, 0, 255));
  EXPECT_EQ(text(1, true), QColor(255, 255, 255));
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  ASSERT_TRUE(view->SelectRow(2));
  EXPECT_EQ(BackgroundAt(2), TResultGridDelegate::SelectedBackground);
  EXPECT_EQ(BackgroundAt(1), QColor(0xFF, 0xFD, 0xF4));
  EXPECT_EQ(BackgroundAt(10), QColor(0xFF, 0xFD, 0xF4));  // an empty row
}

TEST_F(ResultGridView, RedDrawingReachesTheScreen) {
  Fill(2);
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  const QImage image = view->viewport()->grab().toImage();
  const QRect cell = view->visualRect(model->index(1, 0));
  int red = 0;
  for (int x = cell.left(); x <= cell.right(); ++x)
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
      const QColor c = image.pixelColor(x, y);
      red += (c.red() > 200 && c.green() < 80 && c.blue() < 80) ? 1 : 0;
    }
  EXPECT_GT(red, 3);
}

TEST_F(ResultGridView, WheelWithoutSelectionScrollsAndSelectsNothing) {
  Fill(40);
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  view->verticalScrollBar()->setValue(5);
  Wheel(120);
  EXPECT_EQ(view->verticalScrollBar()->value(), 4);
  EXPECT_FALSE(view->HasSelection());
  Wheel(-120);
  EXPECT_EQ(view->verticalScrollBar()->value(), 5);
  EXPECT_FALSE(view->HasSelection());
}

TEST_F(ResultGridView, WheelWithSelectionMovesItButNotOntoEmptyRows) {
  Fill(3);
  view->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
  ASSERT_TRUE(view->SelectRow(1));
  Wheel(-120);
  EXPECT_EQ(view->SelectedRow(), 2);
  Wheel(-120);
  EXPECT_EQ(view->SelectedRow(), 2);
  Wheel(120);
  Wheel(120);
  Wheel(120);
  EXPECT_EQ(view->SelectedRow(), 0);
}

TEST_F(ResultGridView, EmptyRowsCannotBeSelected) {
  Fill(2);
  EXPECT_FALSE(view->SelectRow(2));
  EXPECT_FALSE(view->SelectRow(-1));
  EXPECT_FALSE(view->SelectRow(99));
  EXPECT_FALSE(view->HasSelection());
  EXPECT_TRUE(view->SGridSelectCell(3, 1));
  EXPECT_FALSE(view->SGridSelectCell(3, 2));
  view->ClearSelection();
  EXPECT_EQ(view->SelectionRect(), (TGridRect{24, 24, 24, 24}));
}

}  // namespace
}  // namespace vormek
