#pragma once
// The connections window ("换乘方案"): concrete pairs of trains with one
// change, the wait at the transfer station and the whole journey, for the
// stations of the last transfer query. The minimum change time is set in a
// spin box; a double-click opens the detail window of the leg under the
// mouse; the list prints and exports like the other grids.
#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/timetable.h"
#include "output/string_grid.h"
#include "query/connections.h"
#include "query/stop_list.h"
#include "ui/UnitMsg.h"

class QLabel;
class QPushButton;
class QSpinBox;

namespace vormek {

class TResultGridView;
class TZzzGridModel;

// Printing and export of the list, headed by its own column names (GBK).
struct TPlanActions {
  std::function<void(const TStringGrid& grid, const std::vector<std::string>& header, int rows)> Print;
  std::function<void(QWidget* parent, const TStringGrid& grid, const std::vector<std::string>& header, int rows)>
      Export;
};
TPlanActions DefaultPlanActions();

struct TPlanRequest {
  std::string From;  // typed names (GBK), resolved as the direct query does
  std::string To;
  int MinChange = kDefaultMinChange;
};

struct TPlanDeps {
  TTimetable* Tables = nullptr;  // loaded; outlives the window
  const TFareTables* Fares = nullptr;
  std::function<void(int minutes)> MinChangeChanged;  // remembers the spin box
  TPlanActions Actions = DefaultPlanActions();
  TMsgActions DetailActions = DefaultMsgActions();
};

class TFrmPlan : public QDialog {
  Q_OBJECT

 public:
  static constexpr int ClientWidth = 790;
  static constexpr int ClientHeight = 420;

  TFrmPlan(TPlanRequest request, TPlanDeps deps, QWidget* parent = nullptr);

  // Runs the search again with the spin box's change time.
  void Refill();
  // The stop list of the leg in a cell: columns up to 到时 at the transfer
  // station are the first train, the rest the second. nullopt below the list.
  std::optional<TStopList> LegStops(int row, int col) const;
  std::string LegTrain(int row, int col) const;
  void GridDblClick(int row, int col);
  void BTNPrintClick();
  void BTNExportClick();

  int Count() const { return static_cast<int>(connections_.size()); }
  // How many connections there are in all; Count() shows the best of them
  // until BTNAll asks for every one.
  std::size_t Total() const { return total_; }
  const std::vector<TConnection>& Connections() const { return connections_; }

  QSpinBox* SpinMinChange = nullptr;
  QLabel* LabCount = nullptr;
  TZzzGridModel* PGridModel = nullptr;
  TResultGridView* PGrid = nullptr;
  QPushButton* BTNPrint = nullptr;
  QPushButton* BTNExport = nullptr;
  QPushButton* BTNAll = nullptr;  // 全部显示: shown only while some are left out
  QPushButton* BTNClose = nullptr;

 private:
  void BuildLayout();
  const TPub_GridResult* Leg(int row, int col) const;

  TPlanRequest request_;
  TPlanDeps deps_;
  TConnectionIndex index_;
  std::vector<TConnection> connections_;
  std::size_t total_ = 0;
  bool all_ = false;
};

}  // namespace vormek
