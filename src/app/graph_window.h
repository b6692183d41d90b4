#pragma once
// The train graph of the main grid's rows: which rows it may show, the
// trains it draws, and its window, which follows the grid while it is open.
#include <QString>
#include <vector>

#include "ui/UnitMsg.h"
#include "ui/graph_actions.h"

namespace vormek {

class TFrmGraph;
class TFrmVormek;

// The grid holds the rows of a station-to-station query (not a transfer
// station's legs, which run over two sections).
bool CanShowGraph(TFrmVormek& window);

// One train per grid row as shown (through the filters, in the sort's
// order), its Row the grid row; none when CanShowGraph says no.
std::vector<TGraphTrain> GridGraphTrains(TFrmVormek& window);

// "北京→上海": the stations as the query was asked; empty when
// CanShowGraph says no.
QString GraphSection(TFrmVormek& window);

// The stop list of a grid row, as a double-click on the row opens it.
void OpenRowStops(TFrmVormek& window, int row, const TMsgActions& output);

// Opens the graph over the grid (or raises the one open, up to date). A
// train selected in it selects its grid row; a double-click opens its stop
// list. While open it is redrawn whenever the grid's rows change. The
// export and print of `actions` are kept; its row actions are the window's.
TFrmGraph* ShowGraphWindow(TFrmVormek& window, TGraphActions actions, const TMsgActions& output);

}  // namespace vormek
