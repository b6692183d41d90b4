// The connections window over the program's own timetable, and the transfer
// window's button that opens it.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "builtin_tables_test.h"
#include "data/embedded_items.h"
#include "gui_text/gbk_text.h"
#include "query/connection_rows.h"
#include "support/reading_order.h"
#include "ui/UnitPlan.h"
#include "ui/UnitZzz.h"
#include "ui/result_grid_view.h"
#include "ui/zzz_grid_model.h"

using namespace vormek;

namespace {

std::string G(const QString& s) { return *ToGbk(s); }

class FrmPlanTest : public TBuiltInTablesTest {
 protected:
  void Open(int minChange) {
    TPlanDeps deps;
    deps.Tables = tables_;
    deps.Fares = &fares_;
    deps.MinChangeChanged = [this](int minutes) { remembered.push_back(minutes); };
    deps.Actions.Print = [this](const TStringGrid&, const std::vector<std::string>& header, int rows) {
      printed.emplace_back(header, rows);
    };
    deps.Actions.Export = [this](QWidget*, const TStringGrid&, const std::vector<std::string>& header, int rows) {
      exported.emplace_back(header, rows);
    };
    window = std::make_unique<TFrmPlan>(TPlanRequest{G(QStringLiteral("北京")), G(QStringLiteral("上海")), minChange},
                                        std::move(deps));
    window->show();
  }
  QString Cell(int col, int row) const {
    return window->PGridModel->data(window->PGridModel->index(row, col)).toString();
  }

  TFareTables fares_ = BuildFareTables();
  std::unique_ptr<TFrmPlan> window;
  std::vector<int> remembered;
  std::vector<std::pair<std::vector<std::string>, int>> printed, exported;
};

// The label gives the true count; when the list holds only the best of
// them, 全部显示 lists every one.
TEST_F(FrmPlanTest, TheCountIsTrueAndEveryConnectionCanBeListed) {
  Open(0);
  ASSERT_GT(window->Total(), static_cast<std::size_t>(window->Count())) << "北京→上海 must have more than are listed";
  EXPECT_EQ(window->Count(), kDefaultMaxConnections);
  EXPECT_TRUE(window->BTNAll->isVisible());
  EXPECT_TRUE(window->LabCount->text().contains(QString::number(window->Total())));
  const std::vector<TConnection> best = window->Connections();
  window->BTNAll->click();
  EXPECT_EQ(static_cast<std::size_t>(window->Count()), window->Total());
  EXPECT_FALSE(window->BTNAll->isVisible());
  // The best listed before are the first of all.
  for (std::size_t i = 0; i < best.size(); ++i) EXPECT_EQ(window->Connections()[i].TotalMinutes, best[i].TotalMinutes);
}

TEST_F(FrmPlanTest, ListsTheConnectionsFollowsTheSpinBoxAndHandsOnItsRows) {
  Open(30);
  ASSERT_GT(window->Count(), 0);
  EXPECT_EQ(window->SpinMinChange->value(), 30);
  // The grid shows exactly the rows of the search, in its order.
  for (int row = 0; row < window->Count(); ++row) {
    const auto cells = ConnectionRowWithDays(window->Connections()[static_cast<std::size_t>(row)]);
    for (int col = 0; col < kConnectionColumns; ++col)
      ASSERT_EQ(Cell(col, row), FromGbk(cells[static_cast<std::size_t>(col)]));
  }
  EXPECT_TRUE(Cell(0, window->Count()).isEmpty());

  window->SpinMinChange->setValue(120);
  EXPECT_EQ(remembered, std::vector<int>{120});
  for (const TConnection& c : window->Connections()) EXPECT_GE(c.WaitMinutes, 120);

  window->BTNPrint->click();
  window->BTNExport->click();
  ASSERT_EQ(printed.size(), 1u);
  ASSERT_EQ(exported.size(), 1u);
  EXPECT_EQ(printed[0].first, ConnectionHeader());
  EXPECT_EQ(printed[0].second, window->Count());
  EXPECT_EQ(exported[0], printed[0]);

  const QImage image = window->grab().toImage();
  const QString path = QDir(QStringLiteral(VORMEK_TEST_OUTPUT_DIR)).filePath("plan_window.png");
  ASSERT_TRUE(image.save(path));
  std::cout << "screenshot: " << path.toStdString() << '\n';
}

TEST_F(FrmPlanTest, DoubleClickOpensTheLegUnderTheMouse) {
  Open(30);
  ASSERT_GT(window->Count(), 0);
  const TConnection& c = window->Connections().front();
  const struct {
    int col;
    const TPub_GridResult& leg;
  } cases[] = {{0, c.First}, {4, c.First}, {5, c.Second}, {12, c.Second}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.col);
    EXPECT_EQ(window->LegTrain(0, k.col), k.leg.ID);
    const auto stops = window->LegStops(0, k.col);
    ASSERT_TRUE(stops.has_value());
    // The blue section runs from the leg's boarding to its alighting stop.
    int first = -1, last = -1;
    for (int r = 0; r < stops->FilledRows; ++r) {
      if (stops->Grid.Cell(1, r) == k.leg.FZ.Station) first = r;
      if (stops->Grid.Cell(1, r) == k.leg.DZ.Station) last = r;
    }
    ASSERT_GE(first, 0);
    ASSERT_GT(last, first);
    EXPECT_TRUE(stops->InSection(first));
    EXPECT_TRUE(stops->InSection(last));
    EXPECT_FALSE(stops->InSection(last + 1));
  }
  EXPECT_FALSE(window->LegStops(window->Count(), 0).has_value());  // below the list
}

class TLegs : public ITransferLegsTarget {
 public:
  explicit TLegs(bool offers) : offers_(offers) {}
  void ShowTransferLegs(const std::string&, std::int32_t, std::int32_t) override {}
  bool OffersConnections() const override { return offers_; }
  void ShowConnections() override { ++opened; }
  int opened = 0;

 private:
  bool offers_;
};

// Tab goes as the windows read: top to bottom, each line left to right.
TEST_F(FrmPlanTest, TabFollowsTheReadingOrderInBothWindows) {
  Open(30);
  const auto [tab, reading] = vormek::testing::TabAndReading(*window, window->SpinMinChange);
  EXPECT_EQ(tab, reading);
  EXPECT_GE(tab.size(), 5);
  TLegs legs(true);
  TFrmZzz zzz(legs);
  zzz.show();
  const auto [zzzTab, zzzReading] = vormek::testing::TabAndReading(zzz, zzz.ZGrid);
  EXPECT_EQ(zzzTab, zzzReading);
  EXPECT_EQ(zzzTab, (QStringList{"ZGrid", "BTNPlan", "BTNClose"}));
}

TEST(FrmZzzPlanButton, ShownOnlyWhereConnectionsCanOpenAndOpensThem) {
  for (bool offers : {false, true}) {
    TLegs legs(offers);
    TFrmZzz window(legs);
    window.show();
    EXPECT_EQ(window.BTNPlan->isVisible(), offers);
    EXPECT_EQ(window.BTNPlan->text(), QStringLiteral("换乘方案"));
    if (offers) {
      window.BTNPlan->click();
      EXPECT_EQ(legs.opened, 1);
    }
  }
}

}  // namespace
