// The journey planner's window over the program's own timetable: its grids
// show the planner's journeys and their trains, its settings reach the
// search, bad input is said on the count label, and print and export get
// the journeys under their own header.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>

#include "builtin_tables_test.h"
#include "data/embedded_items.h"
#include "gui_text/gbk_text.h"
#include "query/journey_rows.h"
#include "ui/UnitJourney.h"
#include "ui/result_grid_view.h"
#include "ui/station_combo_box.h"
#include "ui/zzz_grid_model.h"

using namespace vormek;

namespace {

std::string G(const QString& s) { return *ToGbk(s); }

class FrmJourneyTest : public TBuiltInTablesTest {
 protected:
  void Open(const QString& from, const QString& to) {
    TJourneyDeps deps;
    deps.Tables = tables_;
    deps.Fares = &fares_;
    deps.StationList = [this](const std::string& typed) {
      asked.push_back(typed);
      return TStationListUpdate{};
    };
    deps.Actions.Print = [this](const TStringGrid&, const std::vector<std::string>& header, int rows) {
      printed.emplace_back(header, rows);
    };
    deps.Actions.Export = [this](QWidget*, const TStringGrid&, const std::vector<std::string>& header, int rows) {
      exported.emplace_back(header, rows);
    };
    window = std::make_unique<TFrmJourney>(G(from), G(to), std::move(deps));
    window->show();
  }
  QString Cell(TZzzGridModel* model, int col, int row) const { return model->data(model->index(row, col)).toString(); }

  TFareTables fares_ = BuildFareTables();
  std::unique_ptr<TFrmJourney> window;
  std::vector<std::string> asked;
  std::vector<std::pair<std::vector<std::string>, int>> printed, exported;
};

TEST_F(FrmJourneyTest, ListsThePlannersJourneysAndTheTrainsOfTheOneSelected) {
  Open(QStringLiteral("哈尔滨"), QStringLiteral("昆明"));
  const auto& journeys = window->Journeys();
  ASSERT_GT(journeys.size(), 2u);
  EXPECT_TRUE(window->LabCount->text().contains(QString::number(journeys.size())));
  // Each line is the journey's row; below the list the grid is empty.
  for (std::size_t j = 0; j < journeys.size(); ++j) {
    const auto rides = JourneyRideRecords(*tables_, fares_, journeys[j]);
    const auto row = JourneyRow(journeys[j], rides);
    for (int col = 0; col < kJourneyColumns; ++col)
      ASSERT_EQ(Cell(window->JGridModel, col, static_cast<int>(j)), FromGbk(row[static_cast<std::size_t>(col)]));
  }
  EXPECT_TRUE(Cell(window->JGridModel, 0, static_cast<int>(journeys.size())).isEmpty());
  // A journey with changes lists one line per train: the first train's
  // number and the last arrival are the journey's.
  const auto many = std::find_if(journeys.begin(), journeys.end(), [](const TJourney& j) { return j.Changes() > 0; });
  ASSERT_NE(many, journeys.end());
  const int row = static_cast<int>(many - journeys.begin());
  window->ShowRides(row);
  for (int r = 0; r <= many->Changes(); ++r) EXPECT_FALSE(Cell(window->RGridModel, 0, r).isEmpty()) << r;
  EXPECT_TRUE(Cell(window->RGridModel, 0, many->Changes() + 1).isEmpty());
  EXPECT_TRUE(Cell(window->JGridModel, 4, row).startsWith(Cell(window->RGridModel, 0, 0)));
  EXPECT_EQ(Cell(window->RGridModel, 4, many->Changes()), Cell(window->JGridModel, 1, row));

  window->BTNPrint->click();
  window->BTNExport->click();
  ASSERT_EQ(printed.size(), 1u);
  ASSERT_EQ(exported.size(), 1u);
  EXPECT_EQ(printed[0], std::make_pair(JourneyHeader(), static_cast<int>(journeys.size())));
  EXPECT_EQ(exported[0], printed[0]);
}

TEST_F(FrmJourneyTest, TheSettingsReachTheSearchAndBadInputIsSaid) {
  Open(QStringLiteral("哈尔滨"), QStringLiteral("昆明"));
  window->SpinChanges->setValue(0);
  window->TimeFrom->setTime(QTime(6, 0));
  window->TimeUntil->setTime(QTime(20, 0));
  window->BTNQuery->click();
  for (const TJourney& j : window->Journeys()) {
    EXPECT_EQ(j.Changes(), 0);
    EXPECT_GE(j.Depart(), 6 * 60);
    EXPECT_LE(j.Depart(), 20 * 60);
  }
  window->TimeUntil->setTime(QTime(5, 0));
  window->BTNQuery->click();
  EXPECT_TRUE(window->Journeys().empty());
  EXPECT_EQ(window->LabCount->text(), QStringLiteral("出发时间的终点早于起点。"));
  window->TimeUntil->setTime(QTime(23, 59));
  window->ComboTo->SetTextQuietly(QStringLiteral("无此站"));
  window->BTNQuery->click();
  EXPECT_EQ(window->LabCount->text(), QStringLiteral("到站不存在。"));
  // Typing in a box asks for its list as the main window's boxes do.
  window->ComboFrom->setFocus();
  window->ComboFrom->lineEdit()->clear();
  window->ComboFrom->lineEdit()->insert(QStringLiteral("bj"));
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back(), "bj");
}

}  // namespace
