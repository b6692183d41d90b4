#include "app/graph_window.h"

#include "app/UnitVormek.h"
#include "gui_text/gbk_text.h"
#include "query/graph_trains.h"
#include "query/result_rows.h"
#include "ui/UnitGraph.h"

namespace vormek {
bool CanShowGraph(TFrmVormek& window) {
  return window.QueryMode() == TQueryMode::Direct && window.Center().TransferStation.empty() &&
         window.Center().ResultCount > 0 && window.LoadedTables() != nullptr;
}

std::vector<TGraphTrain> GridGraphTrains(TFrmVormek& window) {
  if (!CanShowGraph(window)) return {};
  const TPub_Center& center = window.Center();
  std::vector<TPub_GridResult> records;
  std::vector<int> gridRows;
  for (int row = 0; row < center.ResultCount; ++row) {
    if (const TPub_GridResult* record = RecordOfRow(center.GridResults, window.ResultGrid(), row)) {
      records.push_back(*record);
      gridRows.push_back(row);
    }
  }
  std::vector<TGraphTrain> trains = GraphTrainsOf(*window.LoadedTables(), records);
  for (std::size_t i = 0; i < trains.size() && i < gridRows.size(); ++i) trains[i].Row = gridRows[i];
  return trains;
}

QString GraphSection(TFrmVormek& window) {
  if (!CanShowGraph(window)) return {};
  return FromGbk(window.Center().FromSelection.Entered) + QStringLiteral("→") +
         FromGbk(window.Center().ToSelection.Entered);
}

void OpenRowStops(TFrmVormek& window, int row, const TMsgActions& output) {
  const TTimetable* tables = window.LoadedTables();
  if (!tables) return;
  TFrmMsg::OpenForRow(window.Center().GridResults, window.ResultGrid(), row, *tables, &window, output);
}

TFrmGraph* ShowGraphWindow(TFrmVormek& window, TGraphActions actions, const TMsgActions& output) {
  // One graph per main window: the one open is raised.
  TFrmGraph* open = window.findChild<TFrmGraph*>(QString(), Qt::FindDirectChildrenOnly);
  if (open) {
    open->SetTrains(GridGraphTrains(window), GraphSection(window));
  } else {
    TFrmVormek* mainWindow = &window;
    actions.SelectRow = [mainWindow](int row) { mainWindow->SelectResultRow(row); };
    actions.OpenStops = [mainWindow, output](int row) { OpenRowStops(*mainWindow, row, output); };
    open = new TFrmGraph(GridGraphTrains(window), GraphSection(window), std::move(actions), &window);
    open->setAttribute(Qt::WA_DeleteOnClose);
    TFrmGraph* graph = open;
    QObject::connect(&window, &TFrmVormek::ResultsShown, graph, [mainWindow, graph] {
      graph->SetTrains(GridGraphTrains(*mainWindow), GraphSection(*mainWindow));
    });
    // A row chosen in the grid shows its train.
    QObject::connect(&window, &TFrmVormek::ResultRowSelected, graph, &TFrmGraph::ShowRow);
  }
  open->show();
  open->raise();
  open->activateWindow();
  return open;
}

}  // namespace vormek
