#include "graph_command.h"

#include <algorithm>
#include <ostream>

#include "cli_commands.h"
#include "file_output.h"
#include "output/train_graph_svg.h"
#include "query/graph_trains.h"
#include "query/input_checks.h"
#include "query/query_direct.h"
#include "query/result_filter.h"
#include "stations/station_text.h"

namespace vormek::cli {

namespace {

// The rows zz shows, its filter boxes applied.
std::vector<TPub_GridResult> ShownRows(const TOptions& o, TTimetable& tt, const std::string& from,
                                       const std::string& to) {
  TPub_Center center;
  center.Fares = BuildFareTables();
  StoreResult(center, QueryDirect(tt, center.Fares, TStationPairRequest{from, to}));
  const TFilterContext filter = FilterContextOf(center, TQueryMode::Direct, "", FilterBoxesOf(o));
  std::vector<TPub_GridResult> rows;
  for (const TPub_GridResult& r : center.GridResults) {
    if (PassesFilters(r, filter)) rows.push_back(r);
  }
  return rows;
}

}  // namespace

int RunGraph(const TOptions& o, TTimetable& tt, const TTextCodec& codec, std::ostream& err) {
  const std::string from = codec.Argument(o.Args[0]);
  const std::string to = codec.Argument(o.Args[1]);
  if (auto refusal = CheckDirectInput(tt.KMPy, from, to)) return Refuse(*refusal, codec, err);
  const std::vector<TPub_GridResult> rows = ShownRows(o, tt, from, to);

  TGraphSetup setup;
  setup.Width = o.GraphWidth;
  setup.Height = std::max(300.0, o.GraphWidth * 0.625);
  setup.TextSize = std::clamp(o.GraphWidth / 130.0, 10.0, 16.0);
  setup.Span = o.GraphSpan;
  setup.Title = std::string(TrimBlanksAndControls(from)) + "至" + std::string(TrimBlanksAndControls(to)) + " 运行图（" +
                std::to_string(rows.size()) + "列）";
  const TTrainGraph graph = LayoutTrainGraph(GraphTrainsOf(tt, rows), setup);

  int status = ExitOk;
  if (!o.GraphSvg.empty()) {
    const std::string error = WriteWholeFile(o.GraphSvg, TrainGraphSvg(graph));
    if (!error.empty()) {
      err << "vormek-query: cannot write " << o.GraphSvg << ": " << error << '\n';
      status = ExitIoError;
    }
  }
  return status;
}

}  // namespace vormek::cli
