#pragma once
// The journey planner's window ("行程规划"): every journey of up to three
// trains between two stations' cities that no other beats on a later
// departure, an earlier arrival and fewer changes. The station boxes list
// stations as the main window's do; the departure window, the most changes
// and the two change times are set beside them. Selecting a journey lists
// its trains below; a double-click on a train opens its stop list; the
// journeys print and export like the other grids.
#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "data/timetable.h"
#include "query/journeys.h"
#include "stations/station_list.h"
#include "ui/UnitMsg.h"
#include "ui/UnitPlan.h"

class QLabel;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace vormek {

class TResultGridView;
class TStationComboBox;
class TZzzGridModel;

struct TJourneyDeps {
  TTimetable* Tables = nullptr;  // loaded; outlives the window
  const TFareTables* Fares = nullptr;
  // The station list for what is typed in a box (GBK), as the main
  // window's boxes show it; without it the boxes list nothing.
  std::function<TStationListUpdate(const std::string& typed)> StationList;
  TPlanActions Actions = DefaultPlanActions();
  TMsgActions DetailActions = DefaultMsgActions();
};

class TFrmJourney : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 790;
  static constexpr int ClientHeight = 470;

  // from and to as typed in the main window (GBK); planned at once when
  // both are there.
  TFrmJourney(const std::string& from, const std::string& to, TJourneyDeps deps, QWidget* parent = nullptr);

  // Plans with the boxes as they stand.
  void BTNQueryClick();
  // Lists the trains of a journey in the lower grid.
  void ShowRides(int row);
  void RideDblClick(int row);
  void BTNPrintClick();
  void BTNExportClick();

  const std::vector<TJourney>& Journeys() const { return journeys_; }
  TJourneyOptions Options() const;

  TStationComboBox* ComboFrom = nullptr;
  TStationComboBox* ComboTo = nullptr;
  QTimeEdit* TimeFrom = nullptr;
  QTimeEdit* TimeUntil = nullptr;
  QSpinBox* SpinChanges = nullptr;
  QSpinBox* SpinMinChange = nullptr;
  QSpinBox* SpinCityChange = nullptr;
  QPushButton* BTNQuery = nullptr;
  QLabel* LabCount = nullptr;
  TZzzGridModel* JGridModel = nullptr;
  TResultGridView* JGrid = nullptr;
  TZzzGridModel* RGridModel = nullptr;
  TResultGridView* RGrid = nullptr;
  QPushButton* BTNPrint = nullptr;
  QPushButton* BTNExport = nullptr;
  QPushButton* BTNClose = nullptr;

 private:
  void BuildLayout();
  void StationBoxChange(TStationComboBox* box);

  TJourneyDeps deps_;
  TConnectionIndex index_;
  TJourneyPlanner planner_;
  std::vector<TJourney> journeys_;
  std::vector<std::vector<TPub_GridResult>> rides_;  // each journey's trains as result rows
  int shownRides_ = -1;
};

}  // namespace vormek
