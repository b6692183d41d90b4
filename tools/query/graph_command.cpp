#include "graph_command.h"

#include <algorithm>
#include <ostream>

#include "cli_commands.h"
#include "graph_font.h"
#include "graph_png.h"
#include "output/train_graph_svg.h"
#include "query/graph_trains.h"
#include "query/input_checks.h"
#include "query/query_direct.h"
#include "query/result_filter.h"
#include "replaced_file.h"
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

  // The PNG's face measures the texts, so that no label is placed over
  // another as drawn; an SVG is measured by estimate, as its reader's face
  // is not known.
  std::unique_ptr<TGraphFont> font;
  if (!o.GraphPng.empty()) {
    std::string error;
    font = TGraphFont::Open(error);
    if (!font) {
      err << "vormek-query: " << codec.Output(error) << '\n';
      return ExitNoInput;
    }
  }

  TGraphSetup setup;
  setup.Width = o.GraphWidth;
  setup.Height = std::max(300.0, o.GraphWidth * 0.625);
  setup.TextSize = std::clamp(o.GraphWidth / 130.0, 10.0, 16.0);
  setup.Span = o.GraphSpan;
  setup.Title = std::string(TrimBlanksAndControls(from)) + "至" + std::string(TrimBlanksAndControls(to)) + " 运行图（" +
                std::to_string(rows.size()) + "列）";
  if (font) setup.TextWidth = [&font](const std::string& text, double size) { return font->TextWidth(text, size); };
  const TTrainGraph graph = LayoutTrainGraph(GraphTrainsOf(tt, rows), setup);

  int status = ExitOk;
  const auto failed = [&](const std::string& path, const std::string& error) {
    err << "vormek-query: cannot write " << path << ": " << codec.Output(error) << '\n';
    status = ExitIoError;
  };
  std::string error;
  if (!o.GraphSvg.empty() && !ReplaceFile(o.GraphSvg, TrainGraphSvg(graph), error)) failed(o.GraphSvg, error);
  if (!o.GraphPng.empty() && !WriteGraphPng(graph, *font, o.GraphPng, error)) failed(o.GraphPng, error);
  return status;
}

}  // namespace vormek::cli
